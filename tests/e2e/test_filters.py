"""Bounce filters: what a program under the cursor receives when the user
clicks or turns the wheel, with the filters on and off."""

import unittest

import rig

WINDOW = ("clicks", (200, 150, 360, 240), (0x30, 0x90, 0x40))


def double_click(button, delay_ms):
    return lambda: rig.click(button, repeat=2, delay_ms=delay_ms)


def press_and_hold(hold_s):
    return lambda: rig.xdotool("mousedown", 1, "sleep", hold_s, "mouseup", 1)


LEFT_FILTER = ["[设备选择]", "左键=1", "右键=0", "[修复功能]", "单击=1", "释放=0"]


class ClickFilterTest(rig.E2ETestCase):
    CASES = [
        # (description, INI lines, action, button messages expected:
        #  (down, up) counts)
        ("double click, click filter on: one press",
         LEFT_FILTER, double_click(1, 30), "L", (1, 2)),
        ("double click, left button not selected: two presses",
         ["[设备选择]", "左键=0", "[修复功能]", "单击=1", "释放=1"], double_click(1, 30), "L", (2, 2)),
        ("double click, click fix off: two presses",
         ["[设备选择]", "左键=1", "[修复功能]", "单击=0", "释放=0"], double_click(1, 30), "L", (2, 2)),
        ("two clicks 400 ms apart, click filter on: two presses",
         LEFT_FILTER, double_click(1, 400), "L", (2, 2)),
        ("two clicks 400 ms apart, click interval 1000: one press",
         LEFT_FILTER + ["[修复参数]", "单击间隔=1000"], double_click(1, 400), "L", (1, 2)),
        ("right double click, right button selected: one press",
         ["[设备选择]", "左键=0", "右键=1", "[修复功能]", "单击=1", "释放=0"],
         double_click(3, 30), "R", (1, 2)),
        ("right double click, only the left button selected: two presses",
         LEFT_FILTER, double_click(3, 30), "R", (2, 2)),
        ("release 100 ms after the press, release interval 300: swallowed",
         ["[设备选择]", "左键=1", "[修复功能]", "单击=1", "释放=1", "[修复参数]", "释放间隔=300"],
         press_and_hold(0.1), "L", (1, 0)),
        ("release 600 ms after the press, release interval 300: delivered",
         ["[设备选择]", "左键=1", "[修复功能]", "单击=1", "释放=1", "[修复参数]", "释放间隔=300"],
         press_and_hold(0.6), "L", (1, 1)),
    ]

    def test_clicks_reach_the_window_under_the_cursor(self):
        window = self.open_window(*WINDOW)
        for description, ini, action, button, (downs, ups) in self.CASES:
            with self.subTest(description):
                try:
                    with self.start_app(ini) as app:
                        rig.move_to(*window.centre)
                        window.forget()
                        action()
                        down, up = f"WM_{button}BUTTONDOWN", f"WM_{button}BUTTONUP"
                        # Waiting for at least one of each gives a missing
                        # message time to arrive.
                        window.wait_for_count(down, max(downs, 1))
                        window.wait_for_count(up, max(ups, 1), timeout=rig.SETTLE * 2)
                        self.assertEqual((len(window.messages(down)), len(window.messages(up))),
                                         (downs, ups), window.lines())
                        self.assertEqual(app.close(), 0)
                finally:
                    rig.reset_buttons()


def notches(*steps):
    """One xdotool run: wheel buttons and pauses (seconds) in turn.  Each
    click is followed by its --delay even when not repeated (100 ms unless
    told), so without "--delay 10" no two notches would be quick."""
    def turn():
        args = []
        for step in steps:
            args += ["sleep", step] if isinstance(step, float) else ["click", "--delay", 10, step]
        rig.xdotool(*args)
    return turn


AWAY, TOWARDS = rig.WHEEL_AWAY, rig.WHEEL_TOWARDS


class WheelFilterTest(rig.E2ETestCase):
    CASES = [
        # (description, INI lines, notches, deltas the window receives)
        ("quick reversal: swallowed", [], notches(AWAY, TOWARDS), [120]),
        ("reversal after 300 ms: delivered", [], notches(AWAY, 0.3, TOWARDS), [120, -120]),
        ("quick notches one way: all delivered", [], notches(TOWARDS, TOWARDS, TOWARDS),
         [-120, -120, -120]),
        ("quick back and forth: only the first direction", [], notches(TOWARDS, AWAY, TOWARDS, AWAY),
         [-120, -120]),
        ("quick reversal, scroll fix off: delivered", ["[修复功能]", "滚动=0"],
         notches(AWAY, TOWARDS), [120, -120]),
        ("reversal after 300 ms, scroll interval 1000: swallowed",
         ["[修复参数]", "滚动间隔=1000"], notches(AWAY, 0.3, TOWARDS), [120]),
    ]

    def test_wheel_notches_reach_the_window_under_the_cursor(self):
        window = self.open_window(*WINDOW)
        for description, ini, turn, deltas in self.CASES:
            with self.subTest(description), self.start_app(ini) as app:
                rig.move_to(*window.centre)
                window.forget()
                turn()
                wheel = window.wait_for_count("WM_MOUSEWHEEL", len(deltas))
                self.assertEqual([int(m.split()[1][len("delta="):]) for m in wheel], deltas,
                                 window.lines())
                self.assertEqual(app.close(), 0)


if __name__ == "__main__":
    unittest.main()
