#!/usr/bin/python3
"""A screen reader's view of a running Brevio, through AT-SPI.

  atspi_probe.py names PID        every focusable object of the process's windows must have a name
  atspi_probe.py text PID NAME    prints the text and caret of the object called NAME
  atspi_probe.py press PID NAME   performs the default action of the object called NAME

Exit status 0 on success, 1 when the check fails (the reasons on standard output), 2 when the
process never shows up on the accessibility bus.
"""
import sys
import time

import pyatspi


def application(pid, timeout=20.0):
    """The accessible application of process `pid`, once it shows a window."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            try:
                if app is not None and app.get_process_id() == pid and app.childCount > 0:
                    return app
            except Exception:  # an application that went away while we looked
                continue
        time.sleep(0.2)
    return None


def walk(node, path=()):
    """Every object below `node`, with the chain of roles and names that leads to it."""
    try:
        here = path + ("%s '%s'" % (node.getRoleName(), node.name),)
        yield node, here
        for child in node:
            if child is not None:
                yield from walk(child, here)
    except Exception:
        return


def find(app, name):
    for node, _ in walk(app):
        if node.name == name:
            return node
    return None


def unnamed_focusable(app):
    failures = []
    for node, path in walk(app):
        states = node.getState()
        if states.contains(pyatspi.STATE_FOCUSABLE) and not node.name.strip():
            failures.append(" > ".join(path))
    return failures


def main():
    command, pid = sys.argv[1], int(sys.argv[2])
    app = application(pid)
    if app is None:
        print("process %d is not on the accessibility bus" % pid)
        return 2
    if command == "names":
        failures = unnamed_focusable(app)
        for failure in failures:
            print("focusable without a name: " + failure)
        return 1 if failures else 0
    node = find(app, sys.argv[3])
    if node is None:
        print("nothing is called '%s'" % sys.argv[3])
        return 1
    if command == "text":
        text = node.queryText()
        sys.stdout.write("caret %d\n" % text.caretOffset)
        sys.stdout.write(text.getText(0, -1))
        return 0
    if command == "press":
        node.queryAction().doAction(0)
        return 0
    print("unknown command " + command)
    return 2


if __name__ == "__main__":
    sys.exit(main())
