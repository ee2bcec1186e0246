#!/usr/bin/env python3
"""Holdfin in a Wayland session beside a native Wayland client, timed from outside: run inside
tests/wayland/session (the holdfin_bench_wayland_* scripts of the build do).

Figures: native drag start (the peer's DRAG-START) to the panel on screen, for the first drag
after start-up (over --starts fresh starts of holdfin) and for the drags after it; the drag's end
in the peer (DRAG-END) to the panel off screen; drops onto the panel delivered, and drags out
into the peer delivered with every offered format carrying the entry's data, of 10 each;
holdfin's wake-ups over 3 s with nothing dragged, before and after."""

import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "wayland"))
from wayland_session_test import (PANEL_POINT, PEER_POINT, PEER_TEXT, Failure,  # noqa: E402
                                  Session, drag_entry_out, expected_data, wait_line)
from holdfin_x11 import Child  # noqa: E402


def stamp(line):
    return float(line.split()[0][2:]) if line else None


def wake_ups(pid, seconds=3.0):
    def switches():
        with open("/proc/%d/status" % pid) as f:
            return sum(int(line.split()[1]) for line in f if "ctxt_switches" in line)
    before = switches()
    time.sleep(seconds)
    return switches() - before


class Moves:
    """The panel's moves, as panel_moves reports them."""

    def __init__(self, program, window):
        self.child = Child([program, window])
        self.child.wait_for("T=", 5)

    def next_move(self, on_screen, after, timeout=5):
        """The time of the next move on (or off) the screen made after `after`."""
        deadline = time.monotonic() + timeout
        while True:
            line = self.child.wait_for("T=", max(0.0, deadline - time.monotonic()))
            if line is None:
                return None
            if (int(line.split("x=")[1]) >= 0) == on_screen and stamp(line) >= after:
                return stamp(line)


def drag_in_peer(s, moves):
    """One drag in the peer: (start to panel on, end to panel off) in ms; None where missed."""
    s.press_and_drag(PEER_POINT, (PEER_POINT[0] + 80, PEER_POINT[1] + 20))
    start = stamp(s.peer.recent[-1])
    shown = moves.next_move(True, start)
    s.send("glide 780 420 900 500 6 150", "up")
    end = stamp(wait_line(s.peer, "DRAG-END"))
    hidden = moves.next_move(False, start, timeout=15)
    time.sleep(0.3)
    return (shown - start if shown else None, hidden - end if hidden and end else None)


def drop_on_panel(s):
    s.holdfin.drain()
    s.press_and_drag(PEER_POINT, (PEER_POINT[0] + 80, PEER_POINT[1] + 20))
    s.send("glide 780 420 %d %d 20 300" % PANEL_POINT, "sleep 150",
           "glide %d %d %d %d 2 60" % (PANEL_POINT + (PANEL_POINT[0] + 2, PANEL_POINT[1] + 2)),
           "up")
    delivered = s.holdfin.wait_for("Dropped File URL", 5) is not None
    time.sleep(0.4)
    return delivered


def drag_out(s):
    """One drag out into the peer: (the entry's file arrived, every format carried its data)."""
    data = []
    dropped = drag_entry_out(s, data)
    faults = [fmt for fmt, got in data
              if not got or expected_data(fmt, "file://" + s.sample, s.sample) not in (None, got)]
    if os.environ.get("BENCH_VERBOSE"):
        print("drag out:", dropped, faults, list(s.holdfin.recent)[-3:], flush=True)
    time.sleep(0.4)
    # The peer's own drag, started where the press missed the shelf, does not count.
    delivered = bool(dropped and "file://" + s.sample in dropped and PEER_TEXT not in dropped)
    return delivered, delivered and bool(data) and not faults


def first_drags(args, starts):
    """The first drag after each of `starts` fresh starts of holdfin: start to panel on, in ms."""
    shown = []
    for _ in range(starts):
        with tempfile.TemporaryDirectory() as home:
            s = Session(args, home)
            moves = None
            try:
                moves = Moves(args.panel_moves, s.panel)
                time.sleep(args.settle)
                shown.append(drag_in_peer(s, moves)[0])
            finally:
                if moves:
                    moves.child.stop()
                s.stop()
    return shown


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--holdfin", required=True)
    parser.add_argument("--peer", required=True)
    parser.add_argument("--panel-moves", required=True)
    parser.add_argument("--runs", type=int, default=10)
    parser.add_argument("--starts", type=int, default=10)
    parser.add_argument("--settle", type=float, default=2.0,
                        help="seconds from the panel's first appearance to the first drag")
    parser.add_argument("--compositor", default="compositor")
    args = parser.parse_args()
    compositor = args.compositor
    with tempfile.TemporaryDirectory() as home:
        s = Session(args, home, ["--dump"])
        try:
            moves = Moves(args.panel_moves, s.panel)
            time.sleep(2)  # start-up settles
            idle_before = wake_ups(s.holdfin.process.pid)
            shown, hidden = [], []
            for _ in range(args.runs + 1):
                up, off = drag_in_peer(s, moves)
                shown.append(up)
                hidden.append(off)
            drops = outs = complete = 0
            for _ in range(args.runs):
                drops += drop_on_panel(s)
                delivered, right = drag_out(s)
                outs += delivered
                complete += right
            time.sleep(1)
            idle_after = wake_ups(s.holdfin.process.pid)
        except Failure as failure:
            print("benchmark failed:", failure)
            return 1
        finally:
            s.stop()
    try:
        first = first_drags(args, args.starts)
    except Failure as failure:
        print("benchmark failed:", failure)
        return 1

    def figure(values):
        known = [v for v in values if v is not None]
        missed = len(values) - len(known)
        text = "median %.1f ms, worst %.1f ms" % (statistics.median(known), max(known)) \
            if known else "none"
        return text + (" (%d missed)" % missed if missed else "")

    print("%s: drag start -> panel on screen: first drag after start-up (%d fresh starts): %s"
          % (compositor, args.starts, figure(first)))
    print("%s: drag start -> panel on screen, the compositor's first drag: %s; later drags "
          "(%d): %s" % (compositor, "%.1f ms" % shown[0] if shown[0] is not None else "missed",
                        args.runs, figure(shown[1:])))
    print("%s: drag end in the peer -> panel off screen: %s" % (compositor, figure(hidden)))
    print("%s: drops delivered %d of %d; drags out delivered %d of %d, with every format "
          "carrying its data %d of %d" % (compositor, drops, args.runs, outs, args.runs, complete,
                                          args.runs))
    print("%s: holdfin wake-ups in 3 s with nothing dragged: %d before, %d after"
          % (compositor, idle_before, idle_after))
    return 0


if __name__ == "__main__":
    sys.exit(main())
