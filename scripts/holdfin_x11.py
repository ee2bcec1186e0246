"""What the scripts that drive a real holdfin on a private X server share: an Xvfb with openbox,
child programs read line by line, xdotool, and where holdfin's panel is."""

import collections
import os
import queue
import subprocess
import sys
import threading
import time

SCREEN = (1280, 800)
PROGRAM = os.path.basename(sys.argv[0])


class Child:
    """A program whose standard output is read line by line, with timeouts."""

    def __init__(self, args, env=None, pass_fds=(), stdin=None):
        self.process = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                        env=env, pass_fds=pass_fds, stdin=stdin)
        self.lines = queue.Queue()
        self.recent = collections.deque(maxlen=12)
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.process.stdout:
            line = line.decode("utf-8", "replace").rstrip("\n")
            self.recent.append(line)
            self.lines.put(line)
        self.lines.put(None)

    def wait_for(self, prefix, timeout):
        deadline = time.monotonic() + timeout
        while True:
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            try:
                line = self.lines.get(timeout=left)
            except queue.Empty:
                return None
            if line is None:
                return None
            if line.startswith(prefix):
                return line

    def drain(self):
        while True:
            try:
                self.lines.get_nowait()
            except queue.Empty:
                return

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


def run(*args):
    return subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                          timeout=30).stdout.decode()


def xdotool(*args):
    run("xdotool", *map(str, args))


def start_server(runtime):
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                             "%dx%dx24" % SCREEN, "-nolisten", "tcp", "-noreset"],
                            pass_fds=(write_end,), stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read_end, 32)
        if not chunk:
            sys.exit("%s: Xvfb did not start" % PROGRAM)
        number += chunk
    number = number.decode().strip()
    os.close(read_end)
    os.environ["DISPLAY"] = ":" + number
    os.environ["XDG_RUNTIME_DIR"] = runtime
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=%s/no-bus" % runtime
    wm = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL)
    deadline = time.monotonic() + 60
    while "window id" not in run("xprop", "-root", "-notype", "_NET_SUPPORTING_WM_CHECK"):
        if time.monotonic() > deadline or wm.poll() is not None:
            wm.terminate()
            xvfb.terminate()
            sys.exit("%s: openbox did not come up on :%s (status %s)" % (PROGRAM, number, wm.poll()))
        time.sleep(0.05)
    time.sleep(0.5)
    return xvfb, wm


def wait_until(condition, timeout, step=None):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if condition():
            return True
        if step:
            step()
        else:
            time.sleep(0.02)
    return False


def drag_until(child, prefix, steps=40):
    """With the button down, moves the pointer in small steps until `child` prints a line
    starting with `prefix` (its drag has begun); False if it never does."""
    for _ in range(steps):
        xdotool("mousemove_relative", "--", 8, 4)
        if child.wait_for(prefix, 0.03):
            return True
    return False


def panel_shown(panel):
    """Whether the panel is mapped and at least partly on the screen: holdfin hides it by
    moving it off the screen (older builds unmapped it)."""
    info = run("xwininfo", "-id", panel)
    if "IsViewable" not in info:
        return False
    fields = {}
    for line in info.splitlines():
        name, _, value = line.strip().partition(":")
        fields[name] = value.strip()
    try:
        x = int(fields["Absolute upper-left X"])
        y = int(fields["Absolute upper-left Y"])
        width, height = int(fields["Width"]), int(fields["Height"])
    except (KeyError, ValueError):
        return False
    return x < SCREEN[0] and y < SCREEN[1] and x + width > 0 and y + height > 0


def panel_window(holdfin, timeout=30):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        windows = run("xdotool", "search", "--pid", str(holdfin.process.pid)).split()
        if windows:
            return windows[0]
        time.sleep(0.02)
    return None


