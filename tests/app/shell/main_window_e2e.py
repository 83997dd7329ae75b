#!/usr/bin/env python3
"""The main window of the real program, used as a person uses it.

Tarvenholm.exe runs under Wine on a fresh simulated machine and settings
store; the tests click at the layout's client coordinates through the X
server (xdotool) and check what reaches the simulated machine (ports.log,
hid.log), the settings store (Wine's reg) and the screen (screenshots).

    main_window_e2e.py BIN_DIR [TestClass ...]

Screenshots stay in BIN_DIR/../e2e-screenshots for a person to look at.
"""

import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "support"))
import tarvenholm_e2e as e2e  # noqa: E402

BIN = Path(sys.argv[1]).resolve() if len(sys.argv) > 1 else None
SHOTS = BIN.parent / "e2e-screenshots" if BIN else None

# Client rectangles of the 1500 x 840 main window (left, top, right, bottom).
CPU_FAN_GAUGE = (290, 715, 690, 813)
GPU_FAN_GAUGE = (729, 715, 1129, 813)
CPU_GAUGE = (1120, 115, 1463, 270)
GPU_GAUGE = (1120, 290, 1463, 445)
GAUGES = (290, 115, 1463, 813)
MODE_PICTURE = (490, 210, 885, 605)
PERFORMANCE_TABS = (400, 110, 960, 152)
WINDOW = (0, 0, 1500, 840)
AWAY_FROM_CONTROLS = (700, 60)  # the empty title area

# Click points: the middle of a tab, tile, button or thumb. Performance tabs
# start every 200 pixels and are 160 wide; navigation tabs every 374 pixels,
# 274 tall; light mode tiles every 122 pixels, 102 tall.
def performance_tab(index):
    return 400 + 200 * index + 80, 131


NAVIGATION_LIGHT_PAGE = (30 + 97, 110 + 374 + 137)
NAVIGATION_SYSTEM_PAGE = (30 + 97, 110 + 137)


def light_tile(index):
    return 270 + 122 * index + 61, 645 + 51


SETTINGS_BUTTON = (1355, 25)
SETTINGS_PAGE = (1190, 50, 1500, 240)
OUTSIDE_SETTINGS_PAGE = AWAY_FROM_CONTROLS
DEFAULTS_RESET_BUTTON = (1315, 92)
LANGUAGE_SELECTOR = (1255, 27)
LANGUAGE_ROW_HEIGHT = 30
LANGUAGE_LIST_TOP = 45 + 2 + 6  # the drop-down opens 2 px under the box, its list 6 px inside
LANGUAGES = [1033, 2052, 1031, 1041, 1036, 1040, 1034, 1028, 1043, 1045]


def language_row(lcid):
    return 1255, LANGUAGE_LIST_TOP + LANGUAGES.index(lcid) * LANGUAGE_ROW_HEIGHT + LANGUAGE_ROW_HEIGHT // 2


# Brightness slider (1230, 610, 1420, 646), range 0..4, thumb 36 wide: the
# thumb of value 4 sits at the right end; a press at left + 45 means value 1.
BRIGHTNESS_THUMB_AT_4 = (1402, 628)
BRIGHTNESS_VALUE_1 = (1230 + 45, 628)
# The message box: 500 x 230, first of two buttons at (70, 170, 230, 206).
MESSAGE_BOX_FIRST_BUTTON = (150, 188)
MESSAGE_BOX_SECOND_BUTTON = (350, 188)

DEFAULT_SETTINGS = {"perfMode": "1", "lightMode": "4", "lightBrightness": "4", "lightSpeed": "9",
                    "lightColor": "16744448", "lightOnOff": "1"}


def report(*head):
    """A 65-byte lighting report as hid.log spells it: the given leading bytes, then zeros."""
    data = list(head) + [0] * (65 - len(head))
    return " ".join(f"{b:02X}" for b in data)


def scenario(cpu_temperature=45.9, cpu_fan=2600.9, gpu_temperature=50, gpu_fan=3000):
    """A sensor scenario with fixed readings, so the gauges hold still between refreshes."""
    return f"""[sensor0]
name=CPU [#0]: Test CPU
reading0=1;11;Core 0;{cpu_temperature}
reading1=7;11;Total CPU Usage;30
[sensor1]
name=GPU [#0]: Test Graphics
reading0=1;13;GPU Temperature;{gpu_temperature}
reading1=3;13;GPU Fan1;{gpu_fan}
reading2=7;13;GPU D3D Usage;40
[sensor2]
name=Mainboard chip
reading0=3;12;CPU Fan;{cpu_fan}
[sensor3]
name=Memory Timings
reading0=7;17;Physical Memory Load;50
"""


class MainWindowCase(unittest.TestCase):
    """The program shown on a fresh simulated machine with the lighting
    controller plugged in, after its first device initialisation."""

    settings = {}          # stored before the start (a returning user)
    firmware_mode = 1

    def setUp(self):
        SHOTS.mkdir(parents=True, exist_ok=True)
        self.sim = e2e.SimFolder()
        self.addCleanup(self.sim.close)
        self.sim.write("lighting.ini", "[device]\npresent=1\n")
        self.sim.write("firmware.ini", f"[firmware]\nmode={self.firmware_mode}\n")
        self.sim.write("sensors.ini", scenario())
        e2e.end_leftover_copies(BIN)
        e2e.delete_settings(BIN)
        for name, text in self.settings.items():
            e2e.write_setting(BIN, name, text)
        self.program = e2e.Program(BIN, self.sim, fresh_settings=False,
                                   env={"LANG": "en_US.UTF-8", "LC_ALL": ""})
        self.addCleanup(self.program.close)
        self.program.wait_for_window()
        # Command 2: the mode read, then the page restored from the store.
        lines = self.sim.wait_for_lines("ports.log", 5, timeout=20)
        self.assertEqual(lines[:4], e2e.MODE_READ_SEQUENCE)
        self.assertEqual(lines[4], f"R 0071 B{self.firmware_mode}")
        self.shown = self.settle("start")

    def shot(self, name):
        return SHOTS / f"{self.id().split('.')[-1]}-{name}.png"

    def settle(self, name, rect=WINDOW):
        return self.program.wait_for_stable_picture(self.shot(name), rect)

    def assertSame(self, before, after, rect, what):
        self.assertEqual(after.differing_pixels(before, rect), 0, f"{what} changed")

    def assertChanged(self, before, after, rect, what):
        self.assertGreater(after.differing_pixels(before, rect), 0, f"{what} did not change")


class SystemPage(MainWindowCase):
    def test_scenario_values_appear_in_their_gauges(self):
        """Each reading reaches its own gauge, through the formatting rules:
        values that format alike draw alike, others draw differently."""
        first = self.settle("scenario-first", GAUGES)

        # 45.1 shows as 45 °C like 45.9, 2600 as 2600r/min(50%) like 2600.9;
        # the GPU temperature's change shows that this scenario was read.
        self.sim.write("sensors.ini", scenario(cpu_temperature=45.1, cpu_fan=2600, gpu_temperature=61))
        alike = self.program.wait_for_change(self.shot("scenario-alike"), first, GPU_GAUGE,
                                             what="the GPU gauge to show 61 °C")
        alike = self.settle("scenario-alike", GAUGES)
        self.assertSame(first, alike, CPU_GAUGE, "the CPU gauge (45.1 °C shows as 45 °C)")
        self.assertSame(first, alike, CPU_FAN_GAUGE, "the CPU fan gauge (2600 rpm as 2600.9)")
        self.assertSame(first, alike, GPU_FAN_GAUGE, "the GPU fan gauge (unchanged reading)")

        # 6000 rpm is held at 5200 (100 %), so it draws as 5200 does.
        self.sim.write("sensors.ini", scenario(cpu_fan=6000, gpu_temperature=50))
        above = self.program.wait_for_change(self.shot("scenario-6000"), alike, CPU_FAN_GAUGE,
                                             what="the CPU fan gauge to show 5200r/min(100%)")
        above = self.settle("scenario-6000", GAUGES)
        self.assertSame(first, above, GPU_GAUGE, "the GPU gauge back at 50 °C")
        self.assertSame(first, above, GPU_FAN_GAUGE, "the GPU fan gauge")
        self.sim.write("sensors.ini", scenario(cpu_fan=5200, gpu_temperature=61))
        self.program.wait_for_change(self.shot("scenario-5200"), above, GPU_GAUGE, what="the GPU gauge at 61 °C")
        at_limit = self.settle("scenario-5200", GAUGES)
        self.assertSame(above, at_limit, CPU_FAN_GAUGE, "the CPU fan gauge (6000 rpm against 5200 rpm)")

        # A hotter CPU changes its gauge and no other.
        self.sim.write("sensors.ini", scenario(cpu_temperature=80, cpu_fan=5200, gpu_temperature=61))
        hot = self.program.wait_for_change(self.shot("scenario-hot"), at_limit, CPU_GAUGE,
                                           what="the CPU gauge to show 80 °C")
        hot = self.settle("scenario-hot", GAUGES)
        for rect, what in ((GPU_GAUGE, "the GPU gauge"), (CPU_FAN_GAUGE, "the CPU fan gauge"),
                           (GPU_FAN_GAUGE, "the GPU fan gauge")):
            self.assertSame(at_limit, hot, rect, what)

    def choose_performance_tab(self, index, lines_before, name):
        self.program.click(*performance_tab(index))
        lines = self.sim.wait_for_lines("ports.log", lines_before + 5)
        self.assertEqual(lines[lines_before:], e2e.mode_write_sequence(index))
        e2e.wait_for_setting(BIN, "perfMode", str(index))
        self.program.move(*AWAY_FROM_CONTROLS)  # a hovered tab would look like a selected one
        return self.settle(name)

    def test_performance_tabs_switch_the_mode(self):
        start = self.shown  # mode 1, read from the firmware
        mode_2 = self.choose_performance_tab(2, 5, "mode-2")
        self.assertChanged(start, mode_2, MODE_PICTURE, "the mode picture")
        self.assertChanged(start, mode_2, PERFORMANCE_TABS, "the selected tab")
        # The firmware took it: a restart would read mode 2.
        self.assertIn("mode=2", (self.sim.path / "firmware.ini").read_text())

        # Each mode has its own picture.
        mode_0 = self.choose_performance_tab(0, 10, "mode-0")
        self.assertChanged(start, mode_0, MODE_PICTURE, "the mode picture (mode 1 against mode 0)")
        self.assertChanged(mode_2, mode_0, MODE_PICTURE, "the mode picture (mode 2 against mode 0)")


class LightPage(MainWindowCase):
    def open_light_page(self):
        self.program.click(*NAVIGATION_LIGHT_PAGE)
        self.program.wait_for_change(self.shot("light-page"), self.shown, (270, 100, 1470, 800),
                                     what="the light page to show")
        return self.settle("light-page")

    def test_light_mode_tile_and_brightness_drag(self):
        page = self.open_light_page()
        self.assertEqual(self.sim.lines("hid.log"), [], "navigation sent a report")

        # The second tile is light mode 2 (device code 0x02); the colour and
        # the state are the defaults that command 2 restored.
        self.program.click(*light_tile(1))
        reports = self.sim.wait_for_lines("hid.log", 2)
        self.assertEqual(reports, [report(0x00, 0x07, 0xFF, 0x02, 0x00, 0x80, 0xFF),
                                   report(0x00, 0x07, 0xFF, 0xFD, 0x01, 0x09, 0x04)])
        e2e.wait_for_setting(BIN, "lightMode", "2")
        mode_2 = self.settle("light-mode-2")
        self.assertChanged(page, mode_2, (1120, 110, 1456, 528), "the colour block (its cover)")

        # Dragging the brightness from 4 to 1 sends nothing until the release,
        # then one burst of the two reports.
        self.program.press_and_move(BRIGHTNESS_THUMB_AT_4, BRIGHTNESS_VALUE_1)
        e2e.time.sleep(0.5)  # what a held drag would have sent by now
        self.assertEqual(len(self.sim.lines("hid.log")), 2, "the drag sent reports before the release")
        self.program.release()
        reports = self.sim.wait_for_lines("hid.log", 4)
        self.assertEqual(reports[2:], [report(0x00, 0x07, 0xFF, 0x02, 0x00, 0x80, 0xFF),
                                       report(0x00, 0x07, 0xFF, 0xFD, 0x01, 0x09, 0x01)])
        e2e.wait_for_setting(BIN, "lightBrightness", "1")
        self.settle("brightness-1")
        self.assertEqual(len(self.sim.lines("hid.log")), 4, "more than one burst")


class Language(MainWindowCase):
    # Where the system page and the light page show language texts.
    SYSTEM_PAGE_TEXTS = {
        "navigation captions": (30, 310, 225, 340),
        "performance tab captions": PERFORMANCE_TABS,
        "caption above the mode picture": (630, 180, 730, 210),
        "lower left label": (480, 580, 580, 610),
        "lower right label": (790, 580, 890, 630),
    }
    LIGHT_PAGE_TEXTS = {
        "light mode heading": (590, 110, 746, 152),
        "light mode captions": (270, 645, 1124, 785),
        "brightness and speed heading": (1180, 560, 1395, 595),
        "brightness label": (1140, 610, 1230, 666),
        "colour heading": (1180, 130, 1395, 165),
    }

    def pages(self, name):
        system = self.settle(f"{name}-system")
        self.program.click(*NAVIGATION_LIGHT_PAGE)
        self.program.wait_for_change(self.shot(f"{name}-light"), system, (270, 100, 1470, 800),
                                     what="the light page to show")
        light = self.settle(f"{name}-light")
        self.program.click(*NAVIGATION_SYSTEM_PAGE)
        self.program.wait_for_change(self.shot(f"{name}-back"), light, (270, 100, 1470, 800),
                                     what="the system page to show")
        return system, light

    def test_selector_switches_every_text_live(self):
        e2e.wait_for_setting(BIN, "LCID", "1033")
        english_system, english_light = self.pages("english")
        english_system = self.settle("english-system-again")

        self.program.click(*LANGUAGE_SELECTOR)
        self.program.wait_for_change(self.shot("drop-down"), english_system, (1180, 45, 1330, 360),
                                     what="the drop-down to open")
        self.program.click(*language_row(1031))
        e2e.wait_for_setting(BIN, "LCID", "1031")
        # The window may be busy for a few seconds with the new texts; a
        # picture that holds still means nothing before the tabs have changed.
        self.program.wait_for_change(self.shot("german-first"), english_system, PERFORMANCE_TABS, timeout=20,
                                     what="the performance tabs in German")

        german_system, german_light = self.pages("german")
        for what, rect in self.SYSTEM_PAGE_TEXTS.items():
            self.assertChanged(english_system, german_system, rect, what)
        for what, rect in self.LIGHT_PAGE_TEXTS.items():
            self.assertChanged(english_light, german_light, rect, what)
        # Pictures are no texts: the mode picture stays as it was.
        self.assertSame(english_system, german_system, (500, 220, 875, 570), "the mode picture")


class DefaultsReset(MainWindowCase):
    # A returning user with everything away from the defaults.
    firmware_mode = 2
    settings = {"LCID": "1033", "perfMode": "2", "lightMode": "2", "lightBrightness": "1", "lightSpeed": "3",
                "lightColor": "255", "lightOnOff": "0", "AutoRunTask": "1"}

    def ask_for_reset(self, name, before):
        self.program.click(*SETTINGS_BUTTON)
        opened = self.program.wait_for_change(self.shot(f"{name}-settings"), before, SETTINGS_PAGE,
                                              what="the settings page to open")
        self.program.click(*DEFAULTS_RESET_BUTTON)
        return e2e.wait_for_x_window("^MessageBox$"), opened

    def answer(self, box, button):
        e2e.Program.click_window(box, *button)
        e2e.wait_until(lambda: e2e.find_x_window("^MessageBox$") is None, 5, "the message box to close")

    def close_settings_page(self, name, opened):
        # A click outside the page closes it; the title area has nothing else to hit.
        self.program.click(*OUTSIDE_SETTINGS_PAGE)
        self.program.wait_for_change(self.shot(name), opened, SETTINGS_PAGE, what="the settings page to close")
        return self.settle(name)

    def test_reset_asks_and_restores_every_default(self):
        stored = e2e.read_settings(BIN)

        # The second button keeps everything.
        box, opened = self.ask_for_reset("keep", self.shown)
        self.answer(box, MESSAGE_BOX_SECOND_BUTTON)
        closed = self.close_settings_page("kept", opened)
        self.assertSame(self.shown, closed, SETTINGS_PAGE, "the title area after the settings page closed")
        self.assertEqual(len(self.sim.lines("ports.log")), 5)
        self.assertEqual(self.sim.lines("hid.log"), [])
        self.assertEqual(e2e.read_settings(BIN), stored)

        # The first button resets the firmware, the device and the store.
        box, opened = self.ask_for_reset("reset", closed)
        self.answer(box, MESSAGE_BOX_FIRST_BUTTON)
        lines = self.sim.wait_for_lines("ports.log", 10)
        self.assertEqual(lines[5:], e2e.mode_write_sequence(1))
        self.assertEqual(self.sim.wait_for_lines("hid.log", 2),
                         [report(0x00, 0x07, 0xFF, 0x14, 0x00, 0x80, 0xFF),
                          report(0x00, 0x07, 0xFF, 0xFD, 0x01, 0x09, 0x04)])
        e2e.wait_until(lambda: all(e2e.read_setting(BIN, k) == v for k, v in DEFAULT_SETTINGS.items()), 5,
                       "every default value in the settings store")
        reset = self.close_settings_page("reset", opened)
        self.assertChanged(closed, reset, MODE_PICTURE, "the mode picture (mode 2 to mode 1)")
        self.assertEqual(len(self.sim.lines("ports.log")), 10, "the reset queued more port work")
        self.assertEqual(len(self.sim.lines("hid.log")), 2, "the reset queued more lighting work")


if __name__ == "__main__":
    if BIN is None:
        sys.exit(__doc__)
    unittest.main(argv=[sys.argv[0], *sys.argv[2:]], verbosity=2)
