#!/usr/bin/python3
# The installed Orca screen reader, run for a test: every line it would speak goes
# to its debug log as it says it, and nowhere else (no speech server, sound or
# braille). It neither looks for nor ends other Orcas on the machine, and they do
# not find it: it keeps its interpreter's process name.
#   silent-orca.py PREFS_DIR DEBUG_LOG
import builtins
import importlib.machinery
import importlib.util
import os
import sys

from orca import settings, speechserver


class SilentServer(speechserver.SpeechServer):
    """A speech server that says nothing; Orca logs each utterance before it hands it over.
    Orca 43 asks for it by the first names, later ones by the second."""

    @staticmethod
    def getFactoryName():
        return 'silent'

    @staticmethod
    def getSpeechServers():
        return [SilentServer()]

    @staticmethod
    def getSpeechServer(info=None):
        return SilentServer()

    get_speech_server = getSpeechServer

    def getInfo(self):
        return ['silent', 'silent']

    get_info = getInfo


sys.modules['silentspeech'] = sys.modules[__name__]
sys.modules['silentspeech'].SpeechServer = SilentServer
settings.speechServerFactory = 'silentspeech'
settings.speechFactoryModules = ['silentspeech']
settings.enableSound = False
settings.enableBraille = False
settings.enableKeyEcho = False  # the test hears what the keys do, not the keys

loader = importlib.machinery.SourceFileLoader('orca_launcher', '/usr/bin/orca')
launcher = importlib.util.module_from_spec(importlib.util.spec_from_loader(loader.name, loader))
loader.exec_module(launcher)
launcher.otherOrcas = lambda: []
launcher.setProcessName = lambda name: None
# Orca writes its debug log through a buffer it never flushes: one line at a time instead.
launcher.open = lambda path, mode: builtins.open(path, mode, buffering=1)
prefs, log = sys.argv[1:3]

# A busy Orca 43 handles a mouse press after the program's own events for the
# click, finds the card under it already holding the reader's focus and takes it
# as its place without a word (scripts/default.py, onMouseButton). While the file
# PREFS_DIR/busy exists it does so on every press, so that a test hears what a
# player then hears. Later Orcas have no such shortcut.
default = importlib.import_module('orca.scripts.default')
if hasattr(default.Script, 'onMouseButton'):
    from orca import input_event, orca

    handle_press = default.Script.onMouseButton

    def handle_press_late(script, event):
        if not event.type.endswith('p') or not os.path.exists(os.path.join(prefs, 'busy')):
            return handle_press(script, event)
        pressed = input_event.MouseButtonEvent(event).obj
        if pressed:
            orca.setLocusOfFocus(None, pressed, False)

    default.Script.onMouseButton = handle_press_late

sys.argv[1:] = ['--user-prefs', prefs, '--debug-file', log]
sys.exit(launcher.main())
