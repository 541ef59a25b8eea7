#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# Drives the kestrow window through the accessibility bus, as a screen reader
# or a switch user would: the same on X11 and on Wayland, where nothing else
# can click into a window that is not one's own.
#   atspi_drive.py wait SECONDS   until the main window is on the bus
#   atspi_drive.py height         the main window's height in pixels
#   atspi_drive.py press NAME     the "Press" action of the control named NAME
import sys

import pyatspi

from atspi import actions, do_action, wait_for


def main_window():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in reversed([a for a in desktop if a is not None]):
        if app.name != "kestrow":
            continue
        for window in app:
            if window is not None and window.name.startswith("Kestrow"):
                return window
    return None


def find(node, name, depth=0):
    if node.name == name and "Press" in actions(node):
        return node
    if depth > 6:
        return None
    for child in node:
        found = find(child, name, depth + 1) if child is not None else None
        if found is not None:
            return found
    return None


def main(command, argument):
    if command == "wait":
        def ready():
            window = main_window()
            return window if window is not None and find(window, "Setup") is not None else None
        if wait_for(ready, float(argument)) is not None:
            return 0
        print("atspi_drive: no kestrow window on the accessibility bus", file=sys.stderr)
        return 1
    window = main_window()
    if window is None:
        print("atspi_drive: no kestrow window", file=sys.stderr)
        return 1
    if command == "height":
        print(window.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).height)
        return 0
    if command == "press":
        control = find(window, argument)
        if control is None:
            print(f"atspi_drive: nothing named {argument!r} to press", file=sys.stderr)
            return 1
        do_action(control, "Press")
        return 0
    print(f"atspi_drive: unknown command {command!r}", file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2] if len(sys.argv) > 2 else ""))
