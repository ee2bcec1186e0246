#!/usr/bin/env python3
"""Holdfin in a Wayland session, through XWayland, with a native Wayland client (the peer) as
drag source and drop target: run inside tests/wayland/session, which gives DISPLAY,
WAYLAND_DISPLAY and DRIVER (the pointer injection).

    wayland_session_test.py --holdfin PATH --peer PATH CASE...

Cases: detect (a drag in the peer brings the panel up; its end elsewhere takes it away), escape
(Escape cancels a drag, button still down: that takes it away), drop-in (a drop on the panel
becomes an entry), drag-out (entries dropped and dragged into the peer, three in a row, each
deliver their file URL), formats (a file entry and a text entry dragged out into the peer,
twice each, the peer reading every offered format once, in the offered order and the reverse:
each carries the entry's data), wander and linger (KWin: a drop-in that leaves the panel for
300 ms first, or waits 5 s), fullscreen (mutter: a drop-in over a full-screen peer, the panel
asking no attention). Prints one line per case, 'N passed, N failed'; status 1 when any failed."""

import argparse
import base64
import os
import shlex
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "scripts"))
from holdfin_x11 import Child, run, wait_until  # noqa: E402

PEER_POINT = (700, 400)    # inside the maximized peer
PANEL_POINT = (80, 450)    # inside the panel (x 0-160, centred on a 900 px high screen)
FIRST_TILE = (80, 340)     # the newest entry's tile, at the top of the panel's list
ESCAPE = 1                 # evdev key code
PEER_TEXT = "sample text"  # what the peer's own drags carry
DRAG_OUTS = 3              # in a row, in one holdfin run
# The peer's arguments beyond its payload, for the cases that need more.
PEER_OPTIONS = {"formats": ["--dump", "--payloads", "both,both,text,text"],
                "fullscreen": ["--fullscreen"]}
# Nothing on the X side tells the end of a KWin drag away from the panel: its bound does.
HIDE_WITHIN = 10 if os.environ.get("COMPOSITOR") == "kwin" else 5
TO_PANEL = "glide 780 420 %d %d 20 400" % PANEL_POINT
# The drop-in cases that differ in their way to the panel only.
ROUTES = {"wander": (TO_PANEL, "sleep 200", "glide %d %d 400 450 5 100" % PANEL_POINT,
                     "sleep 300", "glide 400 450 %d %d 5 100" % PANEL_POINT),
          "linger": ("sleep 5000", TO_PANEL)}


class Failure(Exception):
    pass


class Session:
    """holdfin, the peer and the pointer driver inside the compositor."""

    def __init__(self, args, home, peer_options=()):
        self.sample = os.path.join(home, "sample.txt")
        with open(self.sample, "w") as f:
            f.write("sample\n")
        # The kept shelf too: no case sees another's entries, nor the user's.
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(home, "config"),
                   XDG_CACHE_HOME=os.path.join(home, "cache"),
                   XDG_DATA_HOME=os.path.join(home, "data"))
        self.driver = Child(shlex.split(os.environ["DRIVER"]), stdin=subprocess.PIPE)
        peer_env = dict(env, QT_QPA_PLATFORM="wayland")
        self.peer = Child([args.peer, "--uri", "file://" + self.sample, "--text", PEER_TEXT]
                          + list(peer_options), env=peer_env)
        self.holdfin = Child([args.holdfin], env=env)
        if not wait_line(self.peer, "READY platform=wayland", 20):
            raise Failure("the peer did not come up as a Wayland client: %s"
                          % list(self.peer.recent))
        if not wait_line(self.driver, "READY", 20):
            raise Failure("no pointer driver: %s" % list(self.driver.recent))
        self.panel = self._find_panel()
        if not self.panel:
            raise Failure("holdfin's panel never appeared in the window tree")
        # The panel has no content until the event loop ran: let it settle out of sight.
        wait_until(lambda: not self.panel_shown(), 5)

    def _find_panel(self):
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            for window in run("xdotool", "search", "--pid",
                              str(self.holdfin.process.pid)).split():
                if self.fields(window).get("Width") == "160":
                    return window
            time.sleep(0.1)
        return None

    @staticmethod
    def fields(window):
        fields = {}
        for line in run("xwininfo", "-id", window).splitlines():
            name, _, value = line.strip().partition(":")
            fields[name] = value.strip()
        return fields

    def geometry(self):
        fields = self.fields(self.panel)
        return int(fields.get("Absolute upper-left X", "-9999")), int(
            fields.get("Absolute upper-left Y", "-9999"))

    def panel_shown(self):
        x, _ = self.geometry()
        return x >= 0

    def send(self, *commands):
        for command in commands:
            self.driver.process.stdin.write((command + "\n").encode())
        self.driver.process.stdin.flush()

    def press_and_drag(self, start, to, steps=10, ms=200):
        """Presses at `start`, then glides to `to` until the peer's drag has begun (a
        compositor may not yet have placed the peer under the pointer: try again then)."""
        for _ in range(4):
            self.peer.drain()
            self.send("move %d %d" % start, "sleep 100", "down",
                      "glide %d %d %d %d %d %d" % (start + to + (steps, ms)))
            if wait_line(self.peer, "DRAG-START", 2):
                return
            self.send("up", "sleep 500")
        raise Failure("the peer's drag never started: %s %s" % (list(self.peer.recent), list(self.driver.recent)[-3:]))

    def stop(self):
        self.send("quit")
        for child in (self.holdfin, self.peer, self.driver):
            child.stop()


def wait_line(child, text, timeout=5):
    """The next line of `child` that holds `text`, within `timeout` seconds; None otherwise."""
    deadline = time.monotonic() + timeout
    while True:
        line = child.wait_for("", max(0.0, deadline - time.monotonic()))
        if line is None or text in line:
            return line


def expect(condition, what):
    if not condition:
        raise Failure(what)


def expect_panel_up(s, what="the panel did not come up for a native Wayland drag"):
    expect(wait_until(s.panel_shown, 5), "%s; holdfin: %s; peer: %s"
           % (what, list(s.holdfin.recent), list(s.peer.recent)))


def case_detect(s):
    s.press_and_drag(PEER_POINT, (PEER_POINT[0] + 80, PEER_POINT[1] + 20))
    expect_panel_up(s)
    s.send("glide 780 420 900 500 10 300", "up")
    expect(wait_line(s.peer, "DRAG-END"), "the peer's drag did not end")
    expect(wait_until(lambda: not s.panel_shown(), HIDE_WITHIN),
           "the panel stayed after the drag ended in the peer")


def case_escape(s):
    # Escape cancels the drag while the button is still down: nothing on the X side says so.
    s.press_and_drag(PEER_POINT, (PEER_POINT[0] + 80, PEER_POINT[1] + 20))
    expect_panel_up(s)
    s.send("sleep 100", "key %d down" % ESCAPE, "key %d up" % ESCAPE)
    end = wait_line(s.peer, "DRAG-END", 3)
    expect(end and "action=0" in end, "Escape did not cancel the peer's drag: %s; driver: %s"
           % (end, list(s.driver.recent)[-3:]))
    expect(wait_until(lambda: not s.panel_shown(), HIDE_WITHIN),
           "the panel stayed after a drag cancelled with Escape")
    s.send("up", "sleep 300")
    s.press_and_drag(PEER_POINT, (PEER_POINT[0] + 80, PEER_POINT[1] + 20))
    expect_panel_up(s, "the next drag did not bring the panel up")
    s.send("up")


def drop_in(s, kind="file", route=(TO_PANEL,)):
    s.holdfin.drain()
    s.press_and_drag(PEER_POINT, (PEER_POINT[0] + 80, PEER_POINT[1] + 20))
    expect_panel_up(s)
    s.send(*route, "sleep 200",
           "glide %d %d %d %d 2 60" % (PANEL_POINT + (PANEL_POINT[0] + 2, PANEL_POINT[1] + 2)),
           "up")
    dropped = s.holdfin.wait_for("Dropped File URL" if kind == "file" else "Dropped File Content", 10)
    expect(dropped and (kind != "file" or s.sample in dropped), "no drop reached the panel: %s"
           % list(s.holdfin.recent))
    time.sleep(0.3)
    expect(s.panel_shown(), "the panel went away with an entry on the shelf")


def case_drop_in(s):
    drop_in(s)


def case_fullscreen(s):
    drop_in(s)
    states = run("xprop", "-id", s.panel, "_NET_WM_STATE")
    expect("DEMANDS_ATTENTION" not in states, "the panel is left demanding attention: " + states)


def drag_entry_out(s, data=None):
    """Drags the newest entry into the peer: the peer's DROP line, or None. The peer's DATA
    lines before it go into `data`, as (format, bytes)."""
    s.peer.drain()
    s.send("move %d %d" % FIRST_TILE, "sleep 200", "down",
           "glide %d %d %d %d 6 150" % (FIRST_TILE + (FIRST_TILE[0] + 30, FIRST_TILE[1] + 10)),
           "sleep 200", "glide %d %d %d %d 20 400" % ((FIRST_TILE[0] + 30, FIRST_TILE[1] + 10)
                                                        + PEER_POINT),
           "sleep 200", "glide %d %d %d %d 2 60" % (PEER_POINT + (PEER_POINT[0] + 4,
                                                                   PEER_POINT[1] + 4)),
           "up")
    while True:
        line = wait_line(s.peer, " D")
        if not line or " DROP " in line:
            return line
        if " DATA " in line and data is not None:
            fields = line.split(" DATA ", 1)[1].split(" ")
            data.append((fields[0], base64.b64decode(fields[1]) if len(fields) > 1 else b""))


def case_drag_out(s):
    # mutter hands an X drag to a Wayland window only when the window it finds under the
    # pointer changes, and remembers that window from one drag to the next: the drags out
    # after the first, into the same window, are the ones at risk.
    for n in range(1, DRAG_OUTS + 1):
        drop_in(s)
        dropped = drag_entry_out(s)
        what = "drag out %d of %d" % (n, DRAG_OUTS)
        expect(dropped, "%s: the peer got no drop from the shelf; holdfin: %s"
               % (what, list(s.holdfin.recent)))
        expect(PEER_TEXT not in dropped, "%s: the peer dropped its own drag, the press missed "
               "the shelf: %s" % (what, dropped))
        expect("file://" + s.sample in dropped, "%s: the peer's drop lacks the entry's file: %s"
               % (what, dropped))
        time.sleep(0.4)  # the entry leaves the shelf
    # A panel left a utility window after the drag is held on screen by mutter.
    expect(wait_until(lambda: not s.panel_shown(), 5),
           "the panel stayed in sight with the shelf empty after the drags out")


def expected_data(fmt, url, text):
    """What `fmt` must carry for an entry of `url` (None for text) and `text`."""
    if fmt == "text/uri-list":
        return (url + "\r\n").encode() if url else None
    if fmt == "text/x-moz-url":
        title = os.path.basename(url) if url else ""
        return (url + "\n" + title).encode("utf-16-le") if url else None
    if fmt.startswith("text/plain") or fmt in ("UTF8_STRING", "STRING", "TEXT"):
        return text.encode("utf-8")
    return None


def case_formats(s):
    url = "file://" + s.sample
    for kind, text in (("file", s.sample), ("file", s.sample), ("text", PEER_TEXT),
                       ("text", PEER_TEXT)):
        drop_in(s, kind)
        data = []
        dropped = drag_entry_out(s, data)
        expect(dropped and data, "a %s entry: the peer got no drop: %s" % (kind, list(s.holdfin.recent)))
        for fmt, got in data:
            want = expected_data(fmt, url if kind == "file" else None, text)
            expect(got, "a %s entry's %s arrived empty (of %s)" % (kind, fmt, [f for f, _ in data]))
            expect(want is None or got == want, "a %s entry's %s carried %r, not %r"
                   % (kind, fmt, got, want))
        print("  %s entry, read in order: %s" % (kind, " ".join(f for f, _ in data)), flush=True)
        time.sleep(0.4)  # the entry leaves the shelf


CASES = {"detect": case_detect, "escape": case_escape, "drop-in": case_drop_in,
         "drag-out": case_drag_out, "formats": case_formats, "fullscreen": case_fullscreen,
         **{name: lambda s, r=route: drop_in(s, route=r) for name, route in ROUTES.items()}}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--holdfin", required=True)
    parser.add_argument("--peer", required=True)
    parser.add_argument("cases", nargs="+", choices=sorted(CASES))
    args = parser.parse_args()
    passed = failed = 0
    for name in args.cases:
        with tempfile.TemporaryDirectory() as home:
            session = None
            try:
                session = Session(args, home, PEER_OPTIONS.get(name, ()))
                CASES[name](session)
                print("PASS", name, flush=True)
                passed += 1
            except Failure as failure:
                print("FAIL", name + ":", failure, flush=True)
                failed += 1
            finally:
                if session:
                    session.stop()
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
