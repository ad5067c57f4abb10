"""The test rig: runs Pointerwright and probe windows in the Wine virtual
desktop, drives the mouse with xdotool and looks at the screen.

Environment (set by ctest, or by hand after sourcing scripts/wine_env.sh):
  PW_EXE    Pointerwright.exe        PW_PROBE  pwprobe.exe
  PW_WINE   Wine loader              PW_WORK   scratch folder
  DISPLAY, WINEPREFIX                the Xvfb and the prefix with the desktop

Every wait is a poll with a deadline; every process a test starts is closed
or killed by the test's cleanup.
"""

import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest

APP_CAPTION = "Pointerwright v1.61"  # class and title of the main window
APP_TEAL = (0x00, 0xA0, 0xA0)        # interior colour of the tray icon
PROBE_CLASS = "PwProbeWindow"

STARTUP_TIMEOUT = 20.0   # Wine can be slow to start a process
EVENT_TIMEOUT = 6.0      # an input event to show up in a log
SETTLE = 0.7             # quiet time before "nothing more arrived"

_REQUIRED = ("PW_EXE", "PW_PROBE", "PW_WINE", "PW_WORK", "DISPLAY", "WINEPREFIX")


def environment():
    missing = [name for name in _REQUIRED if not os.environ.get(name)]
    if missing:
        raise RuntimeError("the end-to-end tests need these environment variables: "
                           + ", ".join(missing)
                           + " (run them through ctest, or source scripts/wine_env.sh)")
    for name in ("PW_EXE", "PW_PROBE", "PW_WINE"):
        if not os.path.isfile(os.environ[name]):
            raise RuntimeError(f"{name}={os.environ[name]} is not a file")
    return {name: os.environ[name] for name in _REQUIRED}


def wine_path(path):
    """The Windows name of a host path (Wine's Z: drive is the host root)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wait_until(predicate, timeout, interval=0.05):
    """Polls until predicate() is truthy; returns its last value."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


# --- INI files ---------------------------------------------------------------

def ini_bytes(lines):
    """An INI file as a user's editor saves it: UTF-16LE with a BOM, CRLF."""
    return b"\xff\xfe" + "".join(line + "\r\n" for line in lines).encode("utf-16-le")


def ini_lines(data):
    """The meaningful lines of a UTF-16LE file with BOM: blank lines dropped,
    spaces around section names, keys and values removed.  Fails when the
    file lacks the BOM."""
    if not data.startswith(b"\xff\xfe"):
        raise AssertionError(f"INI file does not start with the UTF-16LE BOM: {data[:16]!r}")
    text = data[2:].decode("utf-16-le")
    result = []
    for line in text.splitlines():
        line = line.strip()
        if not line:
            continue
        if "=" in line and not line.startswith((";", "[")):
            key, value = line.split("=", 1)
            line = key.strip() + "=" + value.strip()
        result.append(line)
    return result


# --- the screen ----------------------------------------------------------------

class Screenshot:
    def __init__(self, data):
        # P6 header: magic, width, height, maxval, each followed by one
        # whitespace byte (comments are not written by ImageMagick).
        fields = []
        pos = 0
        while len(fields) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            start = pos
            while not data[pos:pos + 1].isspace():
                pos += 1
            fields.append(data[start:pos])
        pos += 1
        if fields[0] != b"P6" or fields[3] != b"255":
            raise AssertionError(f"unexpected screenshot header {fields!r}")
        self.width, self.height = int(fields[1]), int(fields[2])
        self.pixels = data[pos:pos + 3 * self.width * self.height]
        if len(self.pixels) != 3 * self.width * self.height:
            raise AssertionError("screenshot is cut short")

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.pixels[i:i + 3])

    def find_colour(self, colour, left, top, right, bottom):
        """Points of exactly `colour` within [left, right) x [top, bottom)."""
        target = bytes(colour)
        points = []
        for y in range(max(top, 0), min(bottom, self.height)):
            row = self.pixels[3 * y * self.width:3 * (y + 1) * self.width]
            start = 3 * max(left, 0)
            while True:
                i = row.find(target, start, 3 * min(right, self.width))
                if i < 0:
                    break
                if i % 3 == 0:
                    points.append((i // 3, y))
                    start = i + 3
                else:
                    start = i + 1
        return points


def screenshot():
    result = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"],
                            capture_output=True, timeout=30, check=True)
    return Screenshot(result.stdout)


class TrayIcon:
    """Pointerwright's icon in the taskbar's notification area, found by its
    teal pixels in the bottom-right corner of the desktop."""
    REGION_WIDTH = 240
    REGION_HEIGHT = 40
    MIN_PIXELS = 40  # the 16 px icon shows about 150 teal pixels

    def __init__(self, points):
        self.points = points

    @property
    def shown(self):
        return len(self.points) >= self.MIN_PIXELS

    @property
    def box(self):
        xs = [p[0] for p in self.points]
        ys = [p[1] for p in self.points]
        return (min(xs), min(ys), max(xs) + 1, max(ys) + 1) if self.points else None

    def __repr__(self):
        return f"TrayIcon({len(self.points)} teal pixels, box={self.box})"


def tray_icon(shot=None):
    shot = shot or screenshot()
    return TrayIcon(shot.find_colour(APP_TEAL, shot.width - TrayIcon.REGION_WIDTH,
                                     shot.height - TrayIcon.REGION_HEIGHT,
                                     shot.width, shot.height))


# --- mouse and keyboard --------------------------------------------------------

def xdotool(*args):
    subprocess.run(["xdotool", *[str(a) for a in args]], check=True, timeout=30)


def move_to(x, y):
    # No --sync: xdotool then waits about 15 s for a motion that never
    # comes when the pointer is already there.  The X server handles the
    # move before any later xdotool request, so the order still holds.
    xdotool("mousemove", x, y)


def click(button=1, repeat=1, delay_ms=100):
    xdotool("click", "--repeat", repeat, "--delay", delay_ms, button)


WHEEL_AWAY = 4      # X button 4: a notch away from the user, delta +120
WHEEL_TOWARDS = 5   # X button 5: a notch towards the user, delta -120


def wheel(button):
    xdotool("click", button)


NEUTRAL_POINT = (640, 560)  # bare desktop, away from every probe window


def reset_buttons():
    """A click on the bare desktop while no hook runs.  Wine keeps a button
    whose release a hook swallowed as held (GetAsyncKeyState and the MK_*
    flags say so) until the next real release."""
    move_to(*NEUTRAL_POINT)
    click(1)


# --- the probe -----------------------------------------------------------------

def probe(*args, timeout=30):
    """Runs a one-shot probe command; returns (exit code, stdout).

    The output goes through a file, not a pipe: when this call is the one
    that starts the wineserver, the server and the desktop process inherit
    the output handles and would hold a pipe open long after the probe ends."""
    env = environment()
    with tempfile.TemporaryFile() as out:
        result = subprocess.run([env["PW_WINE"], env["PW_PROBE"], *[str(a) for a in args]],
                                stdin=subprocess.DEVNULL, stdout=out,
                                stderr=subprocess.DEVNULL, timeout=timeout)
        out.seek(0)
        return result.returncode, out.read().decode("utf-8", "replace")


def window_exists(cls, title):
    return probe("find", cls, title)[0] == 0


WS_EX_TOPMOST = 0x00000008


_READY = re.compile(r"ready hwnd=(0x[0-9A-F]+) client=(-?\d+),(-?\d+),(\d+),(\d+)")


class ProbeWindow:
    """A top-level window of another program, filled with one colour, that
    logs the mouse and focus messages it receives."""

    def __init__(self, rig, name, rect, colour):
        self.name = name
        self.colour = colour
        self.log_path = os.path.join(rig.dir, f"probe-{name}.log")
        open(self.log_path, "wb").close()
        env = environment()
        x, y, w, h = rect
        self.process = subprocess.Popen(
            [env["PW_WINE"], env["PW_PROBE"], "open", wine_path(self.log_path), "120000",
             name, str(x), str(y), str(w), str(h), "%02X%02X%02X" % colour],
            cwd=rig.dir, stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        rig.windows.append(self)
        self.mark = 0
        ready = self.wait_for(lambda line: _READY.search(line), STARTUP_TIMEOUT)
        if not ready:
            raise AssertionError(f"probe window {name} did not open; log: {self.lines()}")
        m = _READY.search(ready[-1])
        self.hwnd = m.group(1)
        cx, cy, cw, ch = (int(v) for v in m.groups()[1:])
        self.client = (cx, cy, cw, ch)
        self.centre = (cx + cw // 2, cy + ch // 2)
        # Wine shows a new window on Xvfb a while after ShowWindow returns;
        # wait until its colour is really on screen.
        if not wait_until(lambda: screenshot().pixel(*self.centre) == colour, STARTUP_TIMEOUT,
                          interval=0.1):
            raise AssertionError(f"probe window {name} never appeared on screen")

    def all_lines(self):
        """Every message logged, without the name prefix."""
        with open(self.log_path, "rb") as f:
            text = f.read().decode("utf-8", "replace")
        prefix = self.name + " "
        return [l[len(prefix):] for l in text.splitlines() if l.startswith(prefix)]

    def lines(self):
        """Messages logged since the last forget()."""
        return self.all_lines()[self.mark:]

    def messages(self, kind):
        return [l for l in self.lines() if l.split(" ", 1)[0] == kind]

    def forget(self):
        """Later calls of lines() see only what arrives from now on."""
        self.mark += len(self.lines())

    def wait_for(self, predicate, timeout=EVENT_TIMEOUT):
        """Waits for a line matching predicate; returns the lines so far, or
        an empty list on timeout."""
        def check():
            lines = self.lines()
            return lines if any(predicate(l) for l in lines) else []
        return wait_until(check, timeout)

    def wait_for_count(self, kind, count, timeout=EVENT_TIMEOUT):
        """Waits until `count` messages of `kind` arrived, then a quiet spell
        for any more; returns all of them."""
        wait_until(lambda: len(self.messages(kind)) >= count, timeout)
        time.sleep(SETTLE)
        return self.messages(kind)

    def ex_style(self):
        code, out = probe("style", PROBE_CLASS, self.name)
        m = re.search(r"exstyle=(0x[0-9A-F]+)", out)
        if code != 0 or not m:
            raise AssertionError(f"probe window {self.name} is gone")
        return int(m.group(1), 16)

    def topmost(self):
        return bool(self.ex_style() & WS_EX_TOPMOST)

    def has_focus(self):
        focus = [l for l in self.all_lines() if l in ("WM_SETFOCUS", "WM_KILLFOCUS")]
        return bool(focus) and focus[-1] == "WM_SETFOCUS"

    def close(self):
        if self.process.poll() is None:
            probe("close", PROBE_CLASS, self.name)
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(timeout=10)


# --- the application -----------------------------------------------------------

class App:
    """One start of Pointerwright.exe."""

    def __init__(self, process):
        self.process = process

    def running(self):
        return self.process.poll() is None

    def window_exists(self):
        return window_exists(APP_CAPTION, APP_CAPTION)

    def wait_exit(self, timeout=STARTUP_TIMEOUT):
        """The exit code, or None if the program is still running."""
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def close(self, timeout=STARTUP_TIMEOUT):
        """Sends WM_CLOSE to the main window; returns the exit code, or None
        if the program does not end."""
        code, _ = probe("close", APP_CAPTION, APP_CAPTION)
        if code != 0:
            raise AssertionError("no Pointerwright window to close")
        return self.wait_exit(timeout)

    def stop(self):
        """Ends the program however it can: WM_CLOSE, then kill."""
        if self.running() and self.window_exists():
            probe("close", APP_CAPTION, APP_CAPTION)
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                pass
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait(timeout=10)

    # `with self.start_app(...) as app:` stops the program when the block
    # ends, even when a check in it fails, so the next start is not taken
    # for a second instance.
    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()
        return False


class E2ETestCase(unittest.TestCase):
    """Gives each test a scratch folder holding a copy of Pointerwright.exe,
    and cleans up whatever the test started."""

    def setUp(self):
        self.env = environment()
        self.dir = os.path.join(self.env["PW_WORK"], re.sub(r"[^\w.-]", "_", self.id()))
        shutil.rmtree(self.dir, ignore_errors=True)
        os.makedirs(self.dir)
        self.exe = os.path.join(self.dir, "Pointerwright.exe")
        shutil.copyfile(self.env["PW_EXE"], self.exe)
        self.ini = os.path.join(self.dir, "Pointerwright.ini")
        self._apps = []
        self.windows = []
        self.addCleanup(self._stop_everything)
        # A Pointerwright left over from an earlier run would make every
        # start of this test exit at once.
        if window_exists(APP_CAPTION, APP_CAPTION):
            probe("close", APP_CAPTION, APP_CAPTION)
            if not wait_until(lambda: not window_exists(APP_CAPTION, APP_CAPTION), 10):
                raise AssertionError("a Pointerwright from an earlier run does not close")
        move_to(*NEUTRAL_POINT)

    def write_ini(self, lines):
        with open(self.ini, "wb") as f:
            f.write(ini_bytes(lines))

    def read_ini(self):
        with open(self.ini, "rb") as f:
            return f.read()

    def launch(self, lang=None):
        """Starts Pointerwright without waiting for anything; `lang` sets
        its LANG (and with it the ANSI code page Wine gives it)."""
        n = len(self._apps)
        out = open(os.path.join(self.dir, f"app{n}.out"), "wb")
        env = dict(os.environ, LANG=lang) if lang else None
        process = subprocess.Popen([self.env["PW_WINE"], self.exe], cwd=self.dir, env=env,
                                   stdin=subprocess.DEVNULL, stdout=out, stderr=out)
        out.close()
        app = App(process)
        self._apps.append(app)
        return app

    def start_app(self, ini=None, wait_for_icon=False, lang=None):
        """Starts Pointerwright (with `ini` lines as its INI file) and waits
        for its main window, and for its tray icon if asked."""
        if ini is not None:
            self.write_ini(ini)
        app = self.launch(lang)
        if not wait_until(lambda: app.window_exists() or not app.running(), STARTUP_TIMEOUT,
                          interval=0.1) or not app.running():
            raise AssertionError(f"Pointerwright did not start (exit code {app.process.poll()})")
        if wait_for_icon and not wait_until(lambda: tray_icon().shown, STARTUP_TIMEOUT, 0.1):
            raise AssertionError(f"no tray icon: {tray_icon()}")
        return app

    def open_window(self, name, rect, colour):
        return ProbeWindow(self, name, rect, colour)

    def _stop_everything(self):
        for window in self.windows:
            window.close()
        for app in self._apps:
            app.stop()
