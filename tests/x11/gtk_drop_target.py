#!/usr/bin/env python3
"""A GTK 3 drop target for holdfin's X11 tests: gtk_drop_target.py X,Y MODE [poison]

A 300x300 window at X,Y that accepts every drag as a copy. MODE read: a drop reads the text or
URI target GTK programs prefer; every: each offered target in turn; take-nothing: the drop
reports success without asking for data. With poison, the first motion asks for the drag's
data at a time in seconds since 1970, as some file managers do. Prints: "ready", "enter
TARGET...", "data TARGET BASE64" per target read, "dropped"."""
import base64
import sys
import time

import gi

gi.require_version("Gdk", "3.0")
gi.require_version("Gtk", "3.0")
from gi.repository import Gdk, GLib, Gtk  # noqa: E402

PREFERRED = ["text/uri-list", "UTF8_STRING", "text/plain;charset=utf-8", "text/plain"]
at, mode = [int(v) for v in sys.argv[1].split(",")], sys.argv[2]
poison = sys.argv[3:] == ["poison"]
state = {"entered": None, "pending": [], "time": 0}


def say(line):
    print(line, flush=True)


def atom(name):
    return Gdk.Atom.intern(name, False)


def on_motion(window, context, x, y, timestamp):
    targets = [t.name() for t in context.list_targets()]
    if state["entered"] is not context:
        state["entered"] = context
        say("enter " + " ".join(targets))
        if poison:
            Gdk.selection_convert(window.get_window(), atom("XdndSelection"), atom(targets[0]),
                                  int(time.time()))
    Gdk.drag_status(context, Gdk.DragAction.COPY, timestamp)
    return True


def on_drop(window, context, x, y, timestamp):
    offered = [t.name() for t in context.list_targets()]
    if mode == "take-nothing":
        say("dropped")
        Gtk.drag_finish(context, True, False, timestamp)
        return True
    preferred = next((t for t in PREFERRED if t in offered), offered[0])
    state["pending"], state["time"] = offered if mode == "every" else [preferred], timestamp
    window.drag_get_data(context, atom(state["pending"][0]), timestamp)
    return True


def on_data(window, context, x, y, selection, info, timestamp):
    target = state["pending"].pop(0)
    say("data %s %s" % (target, base64.b64encode(selection.get_data() or b"").decode()))
    if state["pending"]:
        window.drag_get_data(context, atom(state["pending"][0]), state["time"])
    else:
        say("dropped")
        Gtk.drag_finish(context, True, False, timestamp)


window = Gtk.Window(title="holdfin test GTK target", decorated=False)
window.set_default_size(300, 300)
window.drag_dest_set(0, [], Gdk.DragAction.COPY | Gdk.DragAction.MOVE)
window.connect("drag-motion", on_motion)
window.connect("drag-drop", on_drop)
window.connect("drag-data-received", on_data)
window.move(*at)
window.show_all()
GLib.timeout_add(300, lambda: say("ready") or False)
Gtk.main()
