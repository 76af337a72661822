#!/usr/bin/python3
# The installed Orca screen reader, run for a test: every line it would speak goes
# to its debug log as it says it, and nowhere else (no speech server, sound or
# braille). It neither looks for nor ends other Orcas on the machine, and they do
# not find it: it keeps its interpreter's process name.
#   silent-orca.py PREFS_DIR DEBUG_LOG
import builtins
import importlib.machinery
import importlib.util
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
sys.argv[1:] = ['--user-prefs', prefs, '--debug-file', log]
sys.exit(launcher.main())
