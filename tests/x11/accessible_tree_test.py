#!/usr/bin/env python3
"""What a screen reader finds of holdfin over AT-SPI (run under dbus-run-session, which starts the
AT-SPI bus): a kept shelf of two entries, then the preferences. Args: --holdfin PATH."""

import json, os, sys, tempfile, time  # noqa: E401

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
R = Atspi.Role
SHELF = {"format": 1, "entries": [
    {"id": "%08d-0000-4000-8000-000000000000" % n, "locked": n == 1, "items": [
        {"id": "%08d-0000-4000-8000-000000000000" % (10 * n + i), "content": "file:///tmp/" + p,
         "type": "public.file-url"} for i, p in enumerate(paths)]}
    for n, paths in ((1, ["notes.txt"]), (2, ["a.txt", "b.txt"]))]}


def nodes(node):
    yield node
    for child in (node.get_child_at_index(i) for i in range(node.get_child_count())):
        yield from nodes(child) if child is not None else ()


def find(role, name=None):
    desktop = Atspi.get_desktop(0)
    apps = [desktop.get_child_at_index(i) for i in range(desktop.get_child_count())]
    app = next((a for a in apps if a is not None and a.get_name() == "Holdfin"), None)
    return next((n for n in nodes(app) if role in (None, n.get_role())
                 and name in (None, n.get_name())), None) if app else None


def main():
    bus, home = os.environ["DBUS_SESSION_BUS_ADDRESS"], tempfile.mkdtemp()
    xvfb, wm = start_server(home)
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = bus  # the server set-up points it nowhere
    for folder, name, text in (("config", "holdfin.conf", "[General]\nhasLaunchedBefore=true\n"),
                               ("data", "shelf.json", json.dumps(SHELF))):
        os.makedirs(os.path.join(home, folder, "holdfin"))
        with open(os.path.join(home, folder, "holdfin", name), "w") as f:
            f.write(text)
    env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(home, "config"),
               XDG_DATA_HOME=os.path.join(home, "data"), QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    holdfin = Child([sys.argv[sys.argv.index("--holdfin") + 1]], env=env)
    try:
        wait_until(lambda: find(R.LIST, "Shelf"), 20, lambda: time.sleep(0.2))
        items = {n.get_name(): n for n in nodes(find(R.LIST, "Shelf"))
                 if n.get_role() == R.LIST_ITEM}
        assert {n: i.get_description() for n, i in items.items()} == {
            "notes.txt": "file, locked", "2 files": "2 files"}, "tiles: captions, what they hold"
        assert [(c.get_role(), c.get_name()) for c in nodes(items["notes.txt"])][1:] == [
            (R.PUSH_BUTTON, "Unlock"), (R.PUSH_BUTTON, "Remove")], "a tile's controls, in words"
        assert find(R.PUSH_BUTTON, "Menu") and find(R.PUSH_BUTTON, "Clear shelf"), "gear, trash"
        assert not find(R.IMAGE), "pictures are decoration"
        assert find(R.FRAME, "Holdfin").get_state_set().contains(Atspi.StateType.SHOWING)
        Child([holdfin.process.args[0], "--preferences"], env=env)
        wait_until(lambda: find(R.COMBO_BOX), 10, lambda: time.sleep(0.2))
        assert [r.get_target(0).get_name() for r in find(R.COMBO_BOX).get_relation_set()
                if r.get_relation_type() == Atspi.RelationType.LABELLED_BY] == ["Appearance:"]
        assert find(None, "Show the shelf with"), "the shortcut field is named by its label"
    finally:
        holdfin.stop()
        wm.terminate()
        xvfb.terminate()
    return 0


if __name__ == "__main__":
    sys.exit(main())
