#!/usr/bin/env python3
"""The real program's teardown while its worker is stuck in a command.

The update server takes the firmware check's connection and never answers
(fault "silent"), so command 23 waits for good. When the main window's
native window is destroyed (WM_CLOSE from outside), the modal run returns
and the teardown must still end the process promptly, with the run's exit
code 1, instead of destroying the window object under the worker or waiting
on it for ever.

    teardown_e2e.py BIN_DIR
"""

import subprocess
import sys
import tempfile
import time
import unittest
import urllib.request
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "support"))
import tarvenholm_e2e as e2e  # noqa: E402

BIN = Path(sys.argv[1]).resolve() if len(sys.argv) > 1 else None
ROOT = Path(__file__).resolve().parents[3]
UPDATE_SERVER = ROOT / "sim" / "update-server" / "update_server.py"
WM_CLOSE = 0x10
RUN_EXIT_CODE = 1
# The worker is given 5 s to stop, once; the rest is Wine ending the
# process. A teardown that waited for it a second time (or for good) fails.
TEARDOWN_S = 8


class Teardown(unittest.TestCase):
    def setUp(self):
        self.sim = e2e.SimFolder()
        self.addCleanup(self.sim.close)
        self.sim.write("lighting.ini", "[device]\npresent=1\nrelease=0x0105\n")
        folder = Path(tempfile.mkdtemp(prefix="tarvenholm-teardown-"))
        port_file = folder / "port"
        server = subprocess.Popen([sys.executable, str(UPDATE_SERVER), "--root", str(BIN / "update-site"),
                                   "--port", "0", "--port-file", str(port_file), "--fault", "silent",
                                   "--lifetime", "120", "--log", str(folder / "server.log")],
                                  stdin=subprocess.DEVNULL)
        self.addCleanup(server.wait, 10)
        self.addCleanup(server.terminate)
        port = e2e.wait_until(lambda: port_file.exists() and port_file.read_text().strip(), 10, "the server's port")
        self.base = f"http://127.0.0.1:{port}/"
        self.program = e2e.Program(BIN, self.sim, env={"TARVENHOLM_UPDATE_URL": self.base})
        self.addCleanup(self.program.close)

    def last_request(self):
        with urllib.request.urlopen(self.base + "_control/last-request", timeout=5) as answer:
            return answer.read().decode("latin-1")

    def test_teardown_ends_the_process_while_the_firmware_check_hangs(self):
        self.program.wait_for_window()
        e2e.wait_until(lambda: "rk/firmware" in self.last_request(), 20, "the firmware check at the server")
        self.assertEqual(self.program.post(WM_CLOSE, 0, 0), 0)
        started = time.monotonic()
        code = self.program.wait_for_exit(TEARDOWN_S)
        self.assertEqual(code, RUN_EXIT_CODE, f"exit code after {time.monotonic() - started:.1f} s")


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0]], verbosity=2)
