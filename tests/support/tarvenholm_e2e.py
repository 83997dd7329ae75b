"""Driving the real Tarvenholm.exe under Wine from outside, as a user would.

The program runs in the build's Wine prefix (scripts/wine-run.sh) on a fresh
simulated machine: a sim folder of its own, named through TARVENHOLM_SIM_DIR.
It is seen through its X window (xdotool), told things through WindowProbe.exe
(posted and sent window messages), and checked through the simulated
machine's journals, the settings store (Wine's reg) and screenshots
(ImageMagick's import and convert).

Every wait polls with a deadline; nothing sleeps for a fixed long time.
"""

import ctypes
import ctypes.util
import os
import shutil
import signal
import subprocess
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
RUN = ROOT / "scripts" / "wine-run.sh"
SETTINGS_KEY = r"HKCU\SOFTWARE\Tarvenholm"
WINDOW_NAME = "^Tarvenholm$"
EXIT_REQUEST = 0x69B
EXIT_REQUEST_CODE = 610
POLL_S = 0.05


class E2EError(AssertionError):
    pass


def wait_until(condition, timeout, what):
    """Polls condition until it answers something true; that answer, or E2EError."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() >= deadline:
            raise E2EError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(POLL_S)


def wine(bin_dir, *args, timeout=60, env=None):
    """Runs one Windows program in the prefix; (exit code, output)."""
    done = subprocess.run([str(RUN), *map(str, args)], cwd=bin_dir, env=env, stdin=subprocess.DEVNULL,
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=timeout)
    return done.returncode, done.stdout.decode("utf-8", "replace").replace("\r", "")


# --- the settings store -------------------------------------------------------

def read_setting(bin_dir, name):
    """The REG_SZ text of a value of the settings key; None when absent."""
    code, out = wine(bin_dir, "reg", "query", SETTINGS_KEY, "/v", name)
    if code != 0:
        return None
    for line in out.splitlines():
        parts = line.split(None, 2)
        if len(parts) >= 2 and parts[0] == name and parts[1].startswith("REG_"):
            return parts[2].strip() if len(parts) == 3 else ""
    return None


def read_settings(bin_dir):
    """Every value of the settings key, name -> text."""
    code, out = wine(bin_dir, "reg", "query", SETTINGS_KEY)
    values = {}
    if code != 0:
        return values
    for line in out.splitlines():
        parts = line.split(None, 2)
        if len(parts) >= 2 and parts[1].startswith("REG_"):
            values[parts[0]] = parts[2].strip() if len(parts) == 3 else ""
    return values


def write_setting(bin_dir, name, text):
    wine(bin_dir, "reg", "add", SETTINGS_KEY, "/v", name, "/t", "REG_SZ", "/d", text, "/f")


def delete_settings(bin_dir):
    wine(bin_dir, "reg", "delete", SETTINGS_KEY, "/f")


def wait_for_setting(bin_dir, name, expected, timeout=5):
    wait_until(lambda: read_setting(bin_dir, name) == expected, timeout, f"{name} = {expected!r} in the settings store"
               f" (last {read_setting(bin_dir, name)!r})")


# --- the simulated machine ------------------------------------------------------

class SimFolder:
    """A fresh sim folder, removed again by close()."""

    def __init__(self):
        self.path = Path(tempfile.mkdtemp(prefix="tarvenholm-e2e-"))

    @property
    def windows_path(self):
        # Wine's drive Z: is the host's root.
        return "Z:" + str(self.path).replace("/", "\\") + "\\"

    def write(self, name, text):
        (self.path / name).write_text(text.replace("\n", "\r\n"), encoding="ascii")

    def lines(self, name):
        file = self.path / name
        if not file.exists():
            return []
        return [line.rstrip("\r") for line in file.read_text(encoding="ascii").split("\n") if line.strip()]

    def wait_for_lines(self, name, count, timeout=10):
        """Waits until the journal has at least count lines; answers them."""
        return wait_until(lambda: len(self.lines(name)) >= count and self.lines(name), timeout,
                          f"{count} lines in {name} (have {len(self.lines(name))})")

    def close(self):
        shutil.rmtree(self.path, ignore_errors=True)


def journal_line(line):
    """(text, time in ms or None) of a journal line, with or without its time."""
    text, at, stamp = line.rpartition(" @")
    if at and stamp.isdigit():
        return text, int(stamp)
    return line, None


# Port sequences of the performance modes: the mode write, the read at
# device initialisation (the read's answer follows as "R 0071 ..").
def mode_write_sequence(mode):
    return ["W 0070 6B", "W 0071 BC", "W 0070 6C", f"W 0071 B{mode}", "W 00B2 ED"]


MODE_READ_SEQUENCE = ["W 0070 6B", "W 0071 BB", "W 00B2 ED", "W 0070 6C"]


# --- screenshots ------------------------------------------------------------------

class Image:
    """A screenshot file, compared through ImageMagick."""

    def __init__(self, path):
        self.path = Path(path)

    def differing_pixels(self, other, rect, tolerance=10):
        """Pixels of rect (left, top, right, bottom) whose colours differ by more than tolerance percent."""
        left, top, right, bottom = rect
        crop = f"[{right - left}x{bottom - top}+{left}+{top}]"
        done = subprocess.run(["compare", "-metric", "AE", "-fuzz", f"{tolerance}%", f"{self.path}{crop}",
                               f"{other.path}{crop}", "null:"], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        return int(float(done.stderr.split()[0]))

# --- X input without a process per event ---------------------------------------

class XTest:
    """Pointer moves and clicks through the X test extension, for timing
    measurements where starting xdotool for every event would blur the time."""

    def __init__(self):
        x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        self._xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self._xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                                    ctypes.c_ulong]
        self._xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self._x11 = x11
        self._display = x11.XOpenDisplay(None)
        if not self._display:
            raise E2EError("cannot open the X display")

    def move(self, x, y):
        self._xtst.XTestFakeMotionEvent(self._display, -1, x, y, 0)
        self._x11.XSync(self._display, 0)

    def button(self, down):
        self._xtst.XTestFakeButtonEvent(self._display, 1, 1 if down else 0, 0)
        self._x11.XSync(self._display, 0)


# --- the program ------------------------------------------------------------------

def find_x_window(name_pattern):
    """The first visible X window whose name matches, or None."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name_pattern],
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout.split()
    return found[0].decode() if found else None


def wait_for_x_window(name_pattern, timeout=10):
    return wait_until(lambda: find_x_window(name_pattern), timeout, f"a visible X window named {name_pattern}")


def window_geometry(window):
    """(x, y, width, height) of an X window on the screen."""
    out = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window], check=True,
                         stdout=subprocess.PIPE).stdout.decode()
    values = dict(line.split("=", 1) for line in out.split() if "=" in line)
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


def click_screen(x, y):
    subprocess.run(["xdotool", "mousemove", "--sync", str(x), str(y), "sleep", "0.1",
                    "mousedown", "1", "sleep", "0.05", "mouseup", "1"], check=True)


def probe(bin_dir, *args, timeout=20):
    """WindowProbe.exe's exit code and output (2: no program window)."""
    return wine(bin_dir, "WindowProbe.exe", *args, timeout=timeout)


def end_leftover_copies(bin_dir):
    """A copy left running by an earlier test would take the new start's place."""
    for _ in range(5):
        if probe(bin_dir, "find")[0] != 0:
            return
        probe(bin_dir, "post", EXIT_REQUEST, 0, EXIT_REQUEST_CODE)
        try:
            wait_until(lambda: probe(bin_dir, "find")[0] != 0, 10, "the leftover copy to end")
        except E2EError:
            pass


class Program:
    """Tarvenholm.exe started on a sim folder; ended by close() if still running."""

    def __init__(self, bin_dir, sim, args=(), env=None, fresh_settings=True, journal_times=False):
        self.bin_dir = Path(bin_dir)
        self.sim = sim
        end_leftover_copies(self.bin_dir)
        if fresh_settings:
            delete_settings(self.bin_dir)
        environment = dict(os.environ)
        environment["TARVENHOLM_SIM_DIR"] = sim.windows_path
        if journal_times:
            environment["TARVENHOLM_SIM_JOURNAL_TIMES"] = "1"
        environment.update(env or {})
        self.environment = environment
        self.process = subprocess.Popen([str(RUN), "./Tarvenholm.exe", *args], cwd=self.bin_dir, env=environment,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL, start_new_session=True)
        self.window = None

    # Lifetime
    def running(self):
        return self.process.poll() is None

    def wait_for_exit(self, timeout):
        """The exit code, or None while it still runs after timeout."""
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def request_exit(self):
        return self.post(EXIT_REQUEST, 0, EXIT_REQUEST_CODE)

    def close(self):
        if self.running():
            self.request_exit()
            if self.wait_for_exit(10) is None:
                os.killpg(self.process.pid, signal.SIGKILL)
                self.process.wait(10)

    # Window
    def wait_for_window(self, timeout=20):
        """The X window of the shown main window."""
        self.window = wait_for_x_window(WINDOW_NAME, timeout)
        return self.window

    def geometry(self):
        """(x, y, width, height) of the X window on the screen."""
        return window_geometry(self.window)

    def screen_point(self, x, y):
        # The window is borderless, so its client area starts at its X window's origin.
        left, top, _, _ = self.geometry()
        return left + x, top + y

    # Input (client coordinates of the main window)
    def move(self, x, y):
        sx, sy = self.screen_point(x, y)
        subprocess.run(["xdotool", "mousemove", "--sync", str(sx), str(sy)], check=True)

    def click(self, x, y):
        """A left click as a person makes it: the pointer goes there, rests, presses and releases."""
        click_screen(*self.screen_point(x, y))

    def press_and_move(self, start, end, steps=8):
        """Press at start and move to end in steps, the button still held."""
        (x0, y0), (x1, y1) = self.screen_point(*start), self.screen_point(*end)
        commands = ["mousemove", "--sync", str(x0), str(y0), "sleep", "0.1", "mousedown", "1", "sleep", "0.05"]
        for i in range(1, steps + 1):
            commands += ["mousemove", str(x0 + (x1 - x0) * i // steps), str(y0 + (y1 - y0) * i // steps),
                         "sleep", "0.03"]
        subprocess.run(["xdotool", *commands], check=True)

    @staticmethod
    def release():
        subprocess.run(["xdotool", "mouseup", "1"], check=True)

    @staticmethod
    def click_window(window, x, y):
        """A left click at (x, y) of another X window (a message box, a drop-down)."""
        left, top, _, _ = window_geometry(window)
        click_screen(left + x, top + y)

    # Messages
    def post(self, msg, wparam, lparam):
        return probe(self.bin_dir, "post", msg, wparam, lparam)[0]

    # Screen
    def screenshot(self, path):
        """The main window as the screen shows it, saved as PNG; an Image of it.
        Taken from the screen, so what lies over the window (a drop-down) is in it."""
        left, top, width, height = self.geometry()
        subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{left}+{top}", "+repage",
                        str(path)], check=True)
        return Image(path)

    def wait_for_change(self, path, before, rect, timeout=5, what="the picture to change"):
        """Screenshots until rect differs from before; the new picture."""
        def changed():
            current = self.screenshot(path)
            return current if current.differing_pixels(before, rect) > 0 else None
        return wait_until(changed, timeout, f"{what} in {rect}")

    def wait_for_stable_picture(self, path, rect, timeout=10, interval=0.3):
        """Screenshots until two in a row agree inside rect (animations and repaints settled);
        the last one is saved as path."""
        path = Path(path)
        spare = path.with_name(path.stem + "-previous" + path.suffix)
        previous = self.screenshot(spare)
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            time.sleep(interval)
            current = self.screenshot(path)
            if current.differing_pixels(previous, rect, tolerance=0) == 0:
                spare.unlink(missing_ok=True)
                return current
            shutil.copyfile(path, spare)
            previous = Image(spare)
        raise E2EError(f"the picture in {rect} kept changing for {timeout} s")
