#!/usr/bin/env python3
"""The real program on a Wine prefix as a new user has it: made by wineboot
and nothing else, so none of the faces the framework asks for ("Segoe UI",
"Arial", ...) is mapped to an installed font.

The window must still paint (many colours on the screen, not a black
rectangle) and the worker must get through its start-up commands: command 2
finds the lighting controller and queues the firmware check, which must
reach the simulated update server.

    bare_prefix_e2e.py BIN_DIR
"""

import os
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "support"))
import tarvenholm_e2e as e2e  # noqa: E402

BIN = Path(sys.argv[1]).resolve() if len(sys.argv) > 1 else None
ROOT = Path(__file__).resolve().parents[3]
UPDATE_SERVER = ROOT / "sim" / "update-server" / "update_server.py"
# Kept between runs: wineboot takes the better part of a minute. It never
# gets the font settings of scripts/wine-env.sh.
BARE_PREFIX = BIN.parent / "wineprefix-bare" if BIN else None
BARE_STAMP = ".tarvenholm-bare-prefix"
START_UP_S = 30
# A black or single-colour window has a handful at most; the painted main
# window has thousands (images, gradients, anti-aliased text).
MIN_COLOURS = 200


def bare_environment():
    environment = dict(os.environ)
    environment["TARVENHOLM_WINEPREFIX"] = str(BARE_PREFIX)
    environment["WINEPREFIX"] = str(BARE_PREFIX)
    return environment


def wineserver(*args):
    command = os.environ.get("WINESERVER") or "wineserver"
    subprocess.run([command, *args], env=bare_environment(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def make_bare_prefix():
    if (BARE_PREFIX / BARE_STAMP).exists():
        return
    BARE_PREFIX.mkdir(parents=True, exist_ok=True)
    e2e.wine(BIN, "wineboot", "-i", timeout=240, env=bare_environment())
    wineserver("-w")
    (BARE_PREFIX / BARE_STAMP).touch()


def colour_count(path):
    out = subprocess.run(["convert", str(path), "-format", "%k", "info:"], stdout=subprocess.PIPE,
                         check=True).stdout.decode().strip()
    return int(out)


class BarePrefix(unittest.TestCase):
    def setUp(self):
        make_bare_prefix()
        self.addCleanup(wineserver, "-k")
        self.sim = e2e.SimFolder()
        self.addCleanup(self.sim.close)
        self.sim.write("lighting.ini", "[device]\npresent=1\n")
        self.server_dir = Path(tempfile.mkdtemp(prefix="tarvenholm-bare-server-"))
        self.server_log = self.server_dir / "server.log"
        port_file = self.server_dir / "port"
        server = subprocess.Popen([sys.executable, str(UPDATE_SERVER), "--root", str(BIN / "update-site"),
                                   "--port", "0", "--port-file", str(port_file), "--lifetime", "120",
                                   "--log", str(self.server_log)], stdin=subprocess.DEVNULL)
        self.addCleanup(server.wait, 10)
        self.addCleanup(server.terminate)
        port = e2e.wait_until(lambda: port_file.exists() and port_file.read_text().strip(), 10, "the server's port")
        environment = bare_environment()
        environment["TARVENHOLM_SIM_DIR"] = self.sim.windows_path
        environment["TARVENHOLM_UPDATE_URL"] = f"http://127.0.0.1:{port}/"
        environment.update({"LANG": "en_US.UTF-8", "LC_ALL": ""})
        self.program = subprocess.Popen([str(e2e.RUN), "./Tarvenholm.exe"], cwd=BIN, env=environment,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL, start_new_session=True)
        self.addCleanup(self.end_program)

    def end_program(self):
        if self.program.poll() is None:
            e2e.wine(BIN, "WindowProbe.exe", "post", e2e.EXIT_REQUEST, 0, e2e.EXIT_REQUEST_CODE,
                     env=bare_environment())
            try:
                self.program.wait(10)
            except subprocess.TimeoutExpired:
                os.killpg(self.program.pid, 9)
                self.program.wait(10)

    def firmware_check_requested(self):
        return self.server_log.exists() and "rk/firmware" in self.server_log.read_text(errors="replace")

    def test_window_paints_and_the_worker_reaches_the_update_server(self):
        started = time.monotonic()
        window = e2e.wait_for_x_window(e2e.WINDOW_NAME, START_UP_S)
        e2e.wait_until(self.firmware_check_requested, START_UP_S - (time.monotonic() - started),
                       "the firmware check at the update server")
        left, top, width, height = e2e.window_geometry(window)
        shot = BIN.parent / "e2e-screenshots" / "bare-prefix.png"
        shot.parent.mkdir(parents=True, exist_ok=True)

        def painted():
            subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{left}+{top}", "+repage",
                            str(shot)], check=True)
            return colour_count(shot) >= MIN_COLOURS
        e2e.wait_until(painted, 10, f"the window to paint (last {colour_count(shot) if shot.exists() else 0}"
                       " colours)")


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0]], verbosity=2)
