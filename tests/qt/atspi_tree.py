#!/usr/bin/env python3
"""Starts a program as a screen reader meets it and prints what AT-SPI
reads of its windows: one line per object, indented by depth, as
"role|name|names of what labels it", into a file (the bus's own daemons
share standard output). Run inside a session bus of its own
(dbus-run-session); accessibility is turned on before the program starts.

Usage: atspi_tree.py OUTPUT SECONDS COMMAND..."""
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, Gio, GLib  # noqa: E402


def turn_accessibility_on():
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
                  GLib.Variant("(ssv)", ("org.a11y.Status", "IsEnabled", GLib.Variant("b", True))),
                  None, Gio.DBusCallFlags.NONE, -1, None)


def labels_of(node):
    names = []
    for relation in node.get_relation_set():
        if relation.get_relation_type() == Atspi.RelationType.LABELLED_BY:
            for i in range(relation.get_n_targets()):
                names.append(relation.get_target(i).get_name())
    return names


def walk(node, depth, lines):
    lines.append("  " * depth + "|".join(
        [node.get_role_name(), node.get_name(), ",".join(labels_of(node))]))
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            walk(child, depth + 1, lines)


def windows(program):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_process_id() == program.pid and app.get_child_count() > 0:
            return app
    return None


def main():
    output, bound = sys.argv[1], float(sys.argv[2])
    turn_accessibility_on()
    program = subprocess.Popen(sys.argv[3:])
    try:
        deadline = time.monotonic() + bound
        app = None
        while app is None and time.monotonic() < deadline and program.poll() is None:
            time.sleep(0.2)
            app = windows(program)
        if app is None:
            print("the program showed no window over AT-SPI", file=sys.stderr)
            return 1
        lines = []
        for i in range(app.get_child_count()):
            walk(app.get_child_at_index(i), 0, lines)
        with open(output, "w", encoding="utf-8") as tree:
            tree.write("\n".join(lines) + "\n")
        return 0
    finally:
        program.terminate()
        program.wait()


if __name__ == "__main__":
    sys.exit(main())
