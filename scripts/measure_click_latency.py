#!/usr/bin/env python3
"""From a click on a performance tab to the first port write of its sequence.

Starts Tarvenholm.exe on a fresh simulated machine whose journals carry
times, clicks the three performance tabs in turn through the X test
extension and, for each click, takes the time from the button's release
(the tab acts on it) to the first write of the mode sequence in ports.log.

    measure_click_latency.py BIN_DIR [CLICKS [FIRST_CLICK_AFTER_S]]

FIRST_CLICK_AFTER_S holds the first click back until that many seconds
after the start, to measure past the program's start-up work.
"""

import math
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "support"))
import tarvenholm_e2e as e2e  # noqa: E402

HOVER_S = 0.08    # the tab must see the pointer over it before the press
PRESS_S = 0.03


def percentile(values, share):
    ordered = sorted(values)
    return ordered[max(0, math.ceil(share * len(ordered)) - 1)]


def main():
    bin_dir = Path(sys.argv[1]).resolve()
    clicks = int(sys.argv[2]) if len(sys.argv) > 2 else 100
    first_click_after = float(sys.argv[3]) if len(sys.argv) > 3 else 0
    sim = e2e.SimFolder()
    sim.write("lighting.ini", "[device]\npresent=1\n")
    program = e2e.Program(bin_dir, sim, env={"LANG": "en_US.UTF-8", "LC_ALL": ""}, journal_times=True)
    started = time.time()
    try:
        program.wait_for_window()
        sim.wait_for_lines("ports.log", 5, timeout=20)  # the start's mode read
        program.wait_for_stable_picture(bin_dir.parent / "latency-start.png", (400, 110, 960, 152))  # tabs painted
        pointer = e2e.XTest()
        time.sleep(max(0.0, started + first_click_after - time.time()))
        latencies = []
        slow = []
        for i in range(clicks):
            mode = (i + 2) % 3  # start away from the mode the start read (1)
            seen = len(sim.lines("ports.log"))
            pointer.move(*program.screen_point(400 + 200 * mode + 80, 131))
            time.sleep(HOVER_S)
            pointer.button(True)
            time.sleep(PRESS_S)
            pointer.button(False)
            released_ms = time.time() * 1000
            lines = sim.wait_for_lines("ports.log", seen + 5, timeout=5)[seen:seen + 5]
            texts = [e2e.journal_line(line)[0] for line in lines]
            if texts != e2e.mode_write_sequence(mode):
                raise e2e.E2EError(f"click {i}: expected the mode {mode} sequence, got {texts}")
            latencies.append(e2e.journal_line(lines[0])[1] - released_ms)
            if latencies[-1] > 200:
                slow.append(f"click {i} at {released_ms / 1000 - started:.1f} s after the start: {latencies[-1]:.0f} ms")
        print(f"clicks: {len(latencies)}")
        print(f"p50: {percentile(latencies, 0.50):.1f} ms")
        print(f"p99: {percentile(latencies, 0.99):.1f} ms")
        print(f"min: {min(latencies):.1f} ms, max: {max(latencies):.1f} ms")
        print("largest: " + ", ".join(f"{value:.0f}" for value in sorted(latencies)[-5:]) + " ms")
        for line in slow:
            print(line)
        return 0 if percentile(latencies, 0.99) <= 70 else 1
    finally:
        program.close()
        sim.close()


if __name__ == "__main__":
    sys.exit(main())
