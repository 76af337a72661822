#!/usr/bin/python3
# An assistive technology's ear on the desktop's accessibility bus: prints "ready"
# once it listens, then the new name of each card renamed as it is played or put
# back, and of the deck when it is whole again or no longer, until COUNT events
# have come or 60 seconds have passed (status 1).
#   atspi-listener.py COUNT
import sys

import pyatspi
from gi.repository import GLib

wanted = int(sys.argv[1])
heard = 0


def renamed(event):
    global heard
    print(event.source.name, flush=True)
    heard += 1
    if heard == wanted:
        pyatspi.Registry.stop()


def give_up():
    pyatspi.Registry.stop()
    return False


pyatspi.Registry.registerEventListener(renamed, "object:property-change:accessible-name")
GLib.timeout_add_seconds(60, give_up)
GLib.idle_add(lambda: print("ready", flush=True) and False)
pyatspi.Registry.start()
sys.exit(0 if heard == wanted else 1)
