#!/usr/bin/env python3
"""What a screen reader finds of holdfin: its accessible tree over AT-SPI, with holdfin on a
private X server and session bus (run under dbus-run-session, which starts the AT-SPI bus on
demand). A kept shelf of two entries is on the panel at start-up; a second launch opens the
preferences.

    accessible_tree_test.py --holdfin PATH

Exit status 0 when every check holds, 1 otherwise, 77 when AT-SPI cannot be reached."""

import argparse
import json
import os
import sys
import tempfile
import time
import uuid

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "scripts"))
from holdfin_x11 import Child, start_server, wait_until  # noqa: E402

try:
    import gi
    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi
except (ImportError, ValueError) as error:
    print("skipped: no AT-SPI bindings (%s)" % error)
    sys.exit(77)


def entry(locked, *payloads):
    return {"id": str(uuid.uuid4()), "locked": locked,
            "items": [{"id": str(uuid.uuid4()), "content": content, "type": kind}
                      for content, kind in payloads]}


def nodes(node):
    """`node` and everything below it, depth first."""
    yield node
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            yield from nodes(child)


def find(root, role, name=None):
    for node in nodes(root):
        if node.get_role() == role and (name is None or node.get_name() == name):
            return node
    return None


def application(name):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_name() == name:
            return app
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--holdfin", required=True)
    args = parser.parse_args()
    bus = os.environ.get("DBUS_SESSION_BUS_ADDRESS")
    if not bus:
        print("skipped: no session bus (run under dbus-run-session)")
        return 77
    home = tempfile.mkdtemp(prefix="holdfin-a11y-")
    runtime = tempfile.mkdtemp(prefix="holdfin-a11y-run-")
    os.chmod(runtime, 0o700)
    xvfb, wm = start_server(runtime)
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = bus  # the server set-up points it nowhere
    os.makedirs(os.path.join(home, "config", "holdfin"))
    with open(os.path.join(home, "config", "holdfin", "holdfin.conf"), "w") as f:
        f.write("[General]\nhasLaunchedBefore=true\nlaunchAtLogin=false\n"
                "selectedAppearance=Light\nshowMenuBarIcon=false\nkeepShelf=true\n")
    os.makedirs(os.path.join(home, "data", "holdfin"))
    with open(os.path.join(home, "data", "holdfin", "shelf.json"), "w") as f:
        json.dump({"format": 1, "entries": [
            entry(True, ("file:///tmp/notes.txt", "public.file-url")),
            entry(False, ("file:///tmp/a.txt", "public.file-url"),
                  ("file:///tmp/b.txt", "public.file-url")),
        ]}, f)
    env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(home, "config"),
               XDG_CACHE_HOME=os.path.join(home, "cache"),
               XDG_DATA_HOME=os.path.join(home, "data"), QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    holdfin = Child([args.holdfin], env=env)
    failures = []

    def check(what, holds):
        print("%s: %s" % ("ok" if holds else "FAILED", what))
        if not holds:
            failures.append(what)

    try:
        app = None
        if not wait_until(lambda: application("holdfin") is not None, 20, lambda: time.sleep(0.2)):
            print("skipped: holdfin never showed on the AT-SPI bus")
            return 77
        app = application("holdfin")
        R = Atspi.Role
        shelf = None
        wait_until(lambda: find(app, R.LIST, "Shelf") is not None, 10, lambda: time.sleep(0.2))
        shelf = find(app, R.LIST, "Shelf")
        check("the shelf is a list named Shelf", shelf is not None)
        tiles = [n for n in nodes(shelf)][1:] if shelf else []
        items = [t for t in tiles if t.get_role() == R.LIST_ITEM]
        check("its tiles are list items", len(items) == 2)
        named = {t.get_name(): t for t in items}
        notes = named.get("notes.txt")
        check("a tile is named by its caption", notes is not None and "2 files" in named)
        check("and described by what it holds, locked or not",
              notes is not None and notes.get_description() == "file, locked"
              and named["2 files"].get_description() == "2 files")
        if notes is not None:
            controls = [(c.get_role(), c.get_name()) for c in nodes(notes)][1:]
            check("a tile's children are its controls, named in words",
                  controls == [(R.PUSH_BUTTON, "Unlock"), (R.PUSH_BUTTON, "Remove")])
        check("the bar's buttons are named in words",
              find(app, R.PUSH_BUTTON, "Menu") is not None
              and find(app, R.PUSH_BUTTON, "Clear shelf") is not None)
        check("no image is exposed", find(app, R.IMAGE) is None)
        panel = find(app, R.FRAME, "Holdfin")
        check("the panel is a window that is showing",
              panel is not None and panel.get_state_set().contains(Atspi.StateType.SHOWING))

        Child([args.holdfin, "--preferences"], env=env)
        wait_until(lambda: find(application("holdfin"), R.COMBO_BOX) is not None, 10,
                   lambda: time.sleep(0.2))
        app = application("holdfin")
        appearance = find(app, R.COMBO_BOX)
        labels = [relation.get_target(0).get_name()
                  for relation in (appearance.get_relation_set() if appearance else [])
                  if relation.get_relation_type() == Atspi.RelationType.LABELLED_BY]
        check("the appearance box is labelled by its label", labels == ["Appearance:"])
        check("the shortcut field is named by its label",
              any(n.get_name() == "Show the shelf with" for n in nodes(app)))
    finally:
        holdfin.stop()
        wm.terminate()
        xvfb.terminate()
    print("%d failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
