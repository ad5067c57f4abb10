"""Chinese text on the Wine desktop renders as glyphs, not as boxes: the
prefix's font substitutes and links are in place."""

import os
import subprocess
import unittest

import rig

BLACK_ENOUGH = 160  # the glyphs are anti-aliased: much of them is grey


def text_pattern(shot, window):
    """The dark pixels of the window's name, relative to its client area."""
    x0, y0, _, _ = window.client
    dark = set()
    for y in range(y0 + 2, y0 + 26):
        for x in range(x0 + 2, x0 + 120):
            if max(shot.pixel(x, y)) < BLACK_ENOUGH:
                dark.add((x - x0, y - y0))
    return frozenset(dark)


class ChineseTextTest(rig.E2ETestCase):
    def test_chinese_names_render_as_distinct_glyphs(self):
        names = ["鼠标手势", "滚轮穿透", "音量控制"]
        windows = [self.open_window(name, (100 + 260 * i, 100, 240, 80), (0xF0, 0xF0, 0xF0))
                   for i, name in enumerate(names)]
        shot = rig.screenshot()
        patterns = [text_pattern(shot, w) for w in windows]
        # For a person to look at.
        subprocess.run(["import", "-window", "root", os.path.join(self.dir, "chinese.png")],
                       timeout=30, check=False)
        for name, pattern in zip(names, patterns):
            self.assertGreater(len(pattern), 40, f"{name}: no text drawn")
        # Missing glyphs all draw the same box, so different words would
        # look alike.
        self.assertEqual(len(set(patterns)), len(names), "Chinese characters render as boxes")


if __name__ == "__main__":
    unittest.main()
