#!/usr/bin/python3
# The program's windows as a screen reader finds them on the accessibility bus (AT-SPI):
#   atspi.py walk PROGRAM TITLE [window|dialog|panes]
# walks the window titled TITLE and prints its tree, one line a node (role, name, and
# "focusable"); it fails on a control that takes the keyboard focus but has no name, on a
# gadget that is no named push button (panes: on any gadget missing), and on a dialog
# whose window does not say it is one.
#   atspi.py focus PROGRAM
# prints the role and name of the control that has the keyboard focus; atspi.py text
# PROGRAM the text it holds.
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

command, program = sys.argv[1], sys.argv[2]
# Gadgets: the picture buttons, named by their tool tips.
GADGETS = {"Add Mapping", "Delete Mapping", "How to use \"Keyboard Mappings\"", "Add ShortType",
           "Delete ShortType", "How to use \"ShortType Abbreviations\""}


def application():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_name() == program:
            return app
    return None


def find_window(title):
    app = application()
    for j in range(app.get_child_count() if app is not None else 0):
        window = app.get_child_at_index(j)
        if window is not None and window.get_name() == title:
            return window
    return None


def focused(node):
    states = node.get_state_set()
    if states.contains(Atspi.StateType.FOCUSED):
        return node
    # Menus take the focus only while open; hidden pages not at all.
    if node.get_role_name() in ("menu bar", "menu") or (
            node.get_role_name() != "application" and not states.contains(Atspi.StateType.SHOWING)):
        return None
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        found = focused(child) if child is not None else None
        if found is not None:
            return found
    return None


if command in ("focus", "text"):
    app = application()
    node = focused(app) if app is not None else None
    if node is None:
        print("nothing")
    elif command == "focus":
        print("%s \"%s\"" % (node.get_role_name(), node.get_name()))
    else:
        print(Atspi.Text.get_text(node, 0, Atspi.Text.get_character_count(node)))
    sys.exit(0)

faults = []
gadgets = set()


def walk(node, depth):
    role = node.get_role_name()
    name = node.get_name() or ""
    states = node.get_state_set()
    focusable = states.contains(Atspi.StateType.FOCUSABLE)
    print("%s%s \"%s\"%s" % ("  " * depth, role, name, " focusable" if focusable else ""))
    # A tab strip is named by its pages, which a screen reader announces as they get the focus.
    if focusable and not name.strip() and role != "page tab list":
        faults.append("a focusable %s without a name (%s)" % (role, path(node)))
    if name in GADGETS:
        gadgets.add(name)
        if role != "push button" or not focusable:
            faults.append("the gadget \"%s\" is a %s%s" % (name, role, "" if focusable else " that takes no focus"))
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            walk(child, depth + 1)


def path(node):
    parts = []
    while node is not None and node.get_role_name() not in ("frame", "dialog", "application"):
        parts.append("%s[%d]" % (node.get_role_name(), node.get_index_in_parent()))
        node = node.get_parent()
    return "/".join(reversed(parts))


title, kind = sys.argv[3], sys.argv[4] if len(sys.argv) > 4 else "window"
window = None
for _ in range(100):
    window = find_window(title)
    if window is not None:
        break
    time.sleep(0.1)
if window is None:
    desktop = Atspi.get_desktop(0)
    seen = [desktop.get_child_at_index(i) for i in range(desktop.get_child_count())]
    print("FAIL: no window \"%s\" of %s on the accessibility bus (there: %s)"
          % (title, program, ", ".join("%s: %s" % (a.get_name(), "|".join(
              (a.get_child_at_index(j).get_name() or "") for j in range(a.get_child_count())))
              for a in seen if a is not None)), file=sys.stderr)
    sys.exit(1)
walk(window, 0)
if kind == "dialog" and window.get_role_name() != "dialog":
    faults.append("the window \"%s\" is a %s, not a dialog" % (title, window.get_role_name()))
if kind == "panes" and gadgets != GADGETS:
    faults.append("gadgets missing: %s" % ", ".join(sorted(GADGETS - gadgets)))
for fault in faults:
    print("FAIL: " + fault, file=sys.stderr)
sys.exit(1 if faults else 0)
