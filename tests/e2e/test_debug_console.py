"""The debug console: with 调试模式 on, a console window opens at start and
shows each bounce the filters swallow; with it off there is none."""

import re
import unittest

import rig

TARGET = ("clicks", (700, 300, 360, 240), (0x30, 0x90, 0x40))
_CLIENT = re.compile(r"client=(-?\d+),(-?\d+),(\d+),(\d+)")


def bright_pixels(shot, box):
    """Pixels of console text (light on the console's black) in `box`."""
    x, y, w, h = box
    return sum(1 for yy in range(y, y + h) for xx in range(x, x + w)
               if min(shot.pixel(xx, yy)) > 150)


class DebugConsoleTest(rig.E2ETestCase):
    def console(self):
        """The client area of the program's console window, or None."""
        code, out = rig.probe("find", "-", rig.wine_path(self.exe))
        m = _CLIENT.search(out)
        return tuple(int(v) for v in m.groups()) if code == 0 and m else None

    def test_console_shows_swallowed_bounces(self):
        window = self.open_window(*TARGET)
        ini = ["[功能设置]", "调试模式=1", "[设备选择]", "左键=1", "[修复功能]", "单击=1",
               "释放=0"]
        with self.start_app(ini) as app:
            client = rig.wait_until(self.console, rig.STARTUP_TIMEOUT, 0.1)
            self.assertIsNotNone(client, "no console window")
            x, y, w, h = client
            first_line = (x + 2, y + 2, min(w, 400) - 4, 16)
            rig.wait_until(lambda: rig.screenshot().pixel(x + w // 2, y + h // 2) == (0, 0, 0),
                           rig.STARTUP_TIMEOUT, 0.1)
            # Only the text cursor is there before any bounce.
            before = bright_pixels(rig.screenshot(), first_line)

            rig.move_to(*window.centre)
            rig.click(1, repeat=2, delay_ms=30)
            window.wait_for_count("WM_LBUTTONDOWN", 1)
            printed = rig.wait_until(
                lambda: bright_pixels(rig.screenshot(), first_line) > before + 60, 5, 0.1)
            self.assertTrue(printed, "the swallowed bounce was not printed")
            self.assertEqual(len(window.messages("WM_LBUTTONDOWN")), 1)
            self.assertEqual(app.close(), 0)

    def test_no_console_without_debug_mode(self):
        with self.start_app(["[功能设置]", "调试模式=0"]) as app:
            self.assertIsNone(rig.wait_until(self.console, 2, 0.2))
            self.assertEqual(app.close(), 0)


if __name__ == "__main__":
    unittest.main()
