#!/usr/bin/env python3
"""A GTK 3 window that takes drops as GTK programs do, for holdfin's X11 tests.

    gtk_drop_target.py [--at X,Y] [--mode read|every|take-nothing] [--poison]

The 300x300 window sits at --at (default 600,100) and accepts every drag as a copy.
--mode read (default): the drop reads the first text or URI target GTK prefers.
--mode every: the drop reads every offered target in turn, each once.
--mode take-nothing: the drop reports success without asking for any data.
--poison: while a drag moves over the window, asks for its data once with a time in seconds
since 1970, as some file managers do.
Standard output, one line each:
    ready X Y W H            the window is shown
    enter TARGET...          a drag entered; the targets it offers
    data TARGET BASE64       the data of one target the drop asked for (empty: nothing came)
    dropped                  the drop is over and was reported a success
"""
import argparse
import base64
import sys
import time

import gi

gi.require_version("Gdk", "3.0")
gi.require_version("Gtk", "3.0")
from gi.repository import Gdk, GLib, Gtk  # noqa: E402

PREFERRED = ["text/uri-list", "UTF8_STRING", "text/plain;charset=utf-8", "text/plain",
             "STRING", "TEXT"]


def say(line):
    print(line, flush=True)


class Target(Gtk.Window):
    def __init__(self, mode, poison):
        super().__init__(title="holdfin test GTK target")
        self.mode = mode
        self.poison = poison
        self.poisoned = False
        self.pending = []
        self.set_decorated(False)
        self.set_default_size(300, 300)
        self.drag_dest_set(0, [], Gdk.DragAction.COPY | Gdk.DragAction.MOVE)
        self.connect("drag-motion", self.on_motion)
        self.connect("drag-drop", self.on_drop)
        self.connect("drag-data-received", self.on_data)
        self.entered = None

    def targets(self, context):
        return [t.name() for t in context.list_targets()]

    def on_motion(self, widget, context, x, y, timestamp):
        if self.entered is not context:
            self.entered = context
            say("enter " + " ".join(self.targets(context)))
        if self.poison and not self.poisoned:
            self.poisoned = True
            # The request's answer is of no interest; only its time is.
            Gdk.selection_convert(self.get_window(), Gdk.Atom.intern("XdndSelection", False),
                                  Gdk.Atom.intern(self.targets(context)[0], False),
                                  int(time.time()))
        Gdk.drag_status(context, Gdk.DragAction.COPY, timestamp)
        return True

    def on_drop(self, widget, context, x, y, timestamp):
        offered = self.targets(context)
        if self.mode == "take-nothing":
            say("dropped")
            Gtk.drag_finish(context, True, False, timestamp)
            return True
        if self.mode == "every":
            self.pending = list(offered)
        else:
            self.pending = [next((t for t in PREFERRED if t in offered), offered[0])]
        self.drop_time = timestamp
        self.ask(context)
        return True

    def ask(self, context):
        target = self.pending[0]
        self.drag_get_data(context, Gdk.Atom.intern(target, False), self.drop_time)

    def on_data(self, widget, context, x, y, selection, info, timestamp):
        if not self.pending:
            return
        target = self.pending.pop(0)
        data = selection.get_data() or b""
        say("data %s %s" % (target, base64.b64encode(data).decode("ascii")))
        if self.pending:
            self.ask(context)
            return
        say("dropped")
        Gtk.drag_finish(context, True, False, timestamp)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--at", default="600,100")
    parser.add_argument("--mode", choices=["read", "every", "take-nothing"], default="read")
    parser.add_argument("--poison", action="store_true")
    args = parser.parse_args()
    x, y = (int(v) for v in args.at.split(","))
    window = Target(args.mode, args.poison)
    window.move(x, y)
    window.show_all()

    def announce():
        say("ready %d %d 300 300" % (x, y))
        return False

    GLib.timeout_add(300, announce)
    Gtk.main()


if __name__ == "__main__":
    sys.exit(main())
