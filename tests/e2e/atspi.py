#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""A screen reader's view of a running program, through pyatspi.

Importable (find_app, find, do_action, describe, tree) and usable from a
shell script:
  atspi.py tree APP                      the tree, one "role: name" a line
  atspi.py show APP ROLE NAME            one node: role, name, description,
                                         states, actions and their keys
  atspi.py act APP ROLE NAME [ACTION]    does the node's action (its first
                                         when none is named)
  atspi.py settext APP ROLE NAME TEXT    sets an editable text's contents
  atspi.py focused APP                   the focused node, as show prints it
  atspi.py box APP ROLE NAME             where the node is on the screen: X Y W H
ROLE is a role name as pyatspi spells it ("push button", "text", ...).
Each command waits up to ATSPI_PATIENCE seconds (15) for the node to appear.
"""
import os
import sys
import time

import pyatspi

PATIENCE = float(os.environ.get("ATSPI_PATIENCE", "15"))


def wait_for(probe, seconds=PATIENCE):
    """Calls probe until it returns something, or None after `seconds`."""
    end = time.monotonic() + seconds
    while True:
        try:
            found = probe()
        except Exception:  # a node that went away while being read
            found = None
        if found is not None or time.monotonic() > end:
            return found
        time.sleep(0.2)


def find_app(name, seconds=PATIENCE):
    """The application registered under `name` on the accessibility bus."""
    def probe():
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == name:
                return app
        return None
    return wait_for(probe, seconds)


def matches(node, role=None, name=None):
    return ((role is None or node.getRoleName() == role) and
            (name is None or node.name == name))


def find(root, role=None, name=None, seconds=PATIENCE):
    """The first node under root with that role and name."""
    return wait_for(lambda: pyatspi.findDescendant(
        root, lambda node: node is not None and matches(node, role, name)), seconds)


def _each_action(node, read):
    try:
        action = node.queryAction()
    except NotImplementedError:
        return []
    return [read(action, i) for i in range(action.nActions)]


def actions(node):
    return _each_action(node, lambda action, i: action.getName(i))


def key_bindings(node):
    return _each_action(node, lambda action, i: action.getKeyBinding(i))


def do_action(node, name=None):
    """Does the named action of node (its first when no name is given)."""
    names = actions(node)
    if not names:
        raise LookupError("%s '%s' has no action" % (node.getRoleName(), node.name))
    index = 0 if name is None else names.index(name)
    return node.queryAction().doAction(index)


def states(node):
    return sorted(pyatspi.stateToString(s) for s in node.getState().getStates())


def describe(node):
    return "\n".join([
        "role: " + node.getRoleName(),
        "name: " + node.name,
        "description: " + node.description,
        "states: " + " ".join(states(node)),
        "actions: " + " ".join(actions(node)),
        "keys: " + " ".join(key_bindings(node)),
    ])


def tree(node, depth=0):
    """One line per node, indented by depth: "role: name"."""
    lines = ["%s%s: %s" % ("  " * depth, node.getRoleName(), node.name)]
    for child in node:
        if child is not None:
            lines.extend(tree(child, depth + 1))
    return lines


def main(argv):
    if len(argv) < 3 or argv[1] not in ("tree", "show", "act", "settext", "focused", "box"):
        sys.stderr.write(__doc__)
        return 2
    app = find_app(argv[2])
    if app is None:
        sys.stderr.write("atspi.py: no application named %s on the bus\n" % argv[2])
        return 1
    if argv[1] == "tree":
        print("\n".join(tree(app)))
        return 0
    if argv[1] == "focused":
        node = wait_for(lambda: pyatspi.findDescendant(
            app, lambda n: n is not None and n.getState().contains(pyatspi.STATE_FOCUSED)))
        if node is None:
            sys.stderr.write("atspi.py: nothing focused in %s\n" % argv[2])
            return 1
        print(describe(node))
        return 0
    if len(argv) < 5:
        sys.stderr.write(__doc__)
        return 2
    node = find(app, argv[3], argv[4])
    if node is None:
        sys.stderr.write("atspi.py: no %s named '%s'\n" % (argv[3], argv[4]))
        return 1
    if argv[1] == "show":
        print(describe(node))
        return 0
    if argv[1] == "box":
        print("%d %d %d %d" % tuple(node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)))
        return 0
    if argv[1] == "settext":
        return 0 if node.queryEditableText().setTextContents(argv[5]) else 1
    return 0 if do_action(node, argv[5] if len(argv) > 5 else None) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
