#!/usr/bin/env python3
"""The two resource checks must bite: broken fixtures have to be reported."""
import os
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_languages  # noqa: E402
import check_skin  # noqa: E402


def write_lan(folder, text, bom=True):
    path = os.path.join(folder, "1033.lan")
    with open(path, "wb") as f:
        f.write((b"\xff\xfe" if bom else b"") + text.replace("\n", "\r\n").encode("utf-16-le"))
    return path


class ProgressFormat(unittest.TestCase):
    def test_cases(self):
        cases = [("Downloading… %d%%", True), ("%d %%", True), ("%i%%", True), ("%3d%%", True),
                 ("Downloading", False), ("%s%%", False), ("%d%% of %d", False),
                 ("%d%", False), ("100%%", False), ("%f%%", False)]
        for text, good in cases:
            with self.subTest(text=text):
                self.assertEqual(check_languages.progress_problems(text) == [], good)


class LanguageFile(unittest.TestCase):
    keys = ["1", "328"]

    def check(self, text, bom=True):
        with tempfile.TemporaryDirectory() as folder:
            return check_languages.check_file(write_lan(folder, text, bom), self.keys)

    def test_complete_file_passes(self):
        self.assertEqual(self.check("[LAN]\n1=Close\n328=%d%%\n"), [])

    def test_faults_are_reported(self):
        cases = {"no BOM": ("[LAN]\n1=Close\n328=%d%%\n", False),
                 "missing key": ("[LAN]\n328=%d%%\n", True),
                 "empty value": ("[LAN]\n1=\n328=%d%%\n", True),
                 "leading zero": ("[LAN]\n01=Close\n328=%d%%\n", True),
                 "duplicate": ("[LAN]\n1=Close\n1=Shut\n328=%d%%\n", True),
                 "other section": ("[TEXT]\n1=Close\n328=%d%%\n", True),
                 "too long": ("[LAN]\n1=" + "x" * 512 + "\n328=%d%%\n", True)}
        for name, (text, bom) in cases.items():
            with self.subTest(name=name):
                self.assertNotEqual(self.check(text, bom), [])


class KeysInCode(unittest.TestCase):
    def test_constants_of_key_blocks(self):
        with tempfile.TemporaryDirectory() as root:
            os.makedirs(os.path.join(root, "app", "shell"))
            with open(os.path.join(root, "app", "shell", "Texts.h"), "w") as f:
                f.write("namespace key {\ninline constexpr int kClose = 1;\ninline constexpr int kNew = 999;\n}\n"
                        "namespace id {\ninline constexpr int kButton = 33;\n}\n")
            self.assertEqual([k for k, _ in check_languages.keys_in_code(root)], ["1", "999"])


class SkinNames(unittest.TestCase):
    def test_literals_and_patterns(self):
        with tempfile.TemporaryDirectory() as root:
            os.makedirs(os.path.join(root, "app", "shell"))
            with open(os.path.join(root, "app", "shell", "Page.cpp"), "w") as f:
                f.write('SetImage(L"img_a.png", 1); Load(L"light_mode%d.png"); Icon(L"Tray.ico");\n')
            found = check_skin.names_in_sources(root)
            self.assertEqual(sorted(found), ["Tray.ico", "img_a.png", "light_mode%d.png"])
            skin = os.path.join(root, "skin")
            os.makedirs(skin)
            open(os.path.join(skin, "light_mode3.png"), "w").close()
            self.assertTrue(check_skin.exists(skin, "light_mode%d.png"))
            self.assertFalse(check_skin.exists(skin, "img_a.png"))


if __name__ == "__main__":
    unittest.main()
