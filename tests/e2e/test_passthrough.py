"""Wheel passthrough: a notch scrolls the window under the cursor, not the
one with the focus, multiplied by the user's factor."""

import os
import time
import unittest

import rig

# Two programs side by side: the user works in "focused" and scrolls over
# "hovered" without clicking it.
FOCUSED = ("focused", (80, 100, 400, 260), (0xC0, 0x40, 0x40))
HOVERED = ("hovered", (620, 100, 400, 260), (0x40, 0x40, 0xC0))

MK_SHIFT, MK_CONTROL = 0x0004, 0x0008
AWAY, TOWARDS = rig.WHEEL_AWAY, rig.WHEEL_TOWARDS


def wheel_fields(line):
    """{'delta': 360, 'keys': 4, 'x': .., 'y': ..} from a WM_MOUSEWHEEL line."""
    fields = dict(part.split("=", 1) for part in line.split()[1:])
    return {name: int(fields[name], 0) for name in ("delta", "keys", "x", "y")}


class PassthroughTest(rig.E2ETestCase):
    CASES = [
        # (description, INI lines, [(notch, key held, delta, MK_* flags)])
        ("multiplier 3", ["[滚轮穿透]", "滚动倍数=3"], [
            (AWAY, None, 360, 0),
            (TOWARDS, None, -360, 0),
            (AWAY, "shift", 360, MK_SHIFT),
            (TOWARDS, "ctrl", -360, MK_CONTROL),
        ]),
        ("multiplier 33, the largest", ["[滚轮穿透]", "滚动倍数=33"], [(TOWARDS, None, -3960, 0)]),
        ("multiplier 34, out of range: 1", ["[滚轮穿透]", "滚动倍数=34"], [(AWAY, None, 120, 0)]),
        ("no INI: multiplier 1", None, [(AWAY, None, 120, 0)]),
    ]

    def setUp(self):
        super().setUp()
        self.focused = self.open_window(*FOCUSED)
        self.hovered = self.open_window(*HOVERED)

    def focus_one_hover_the_other(self):
        rig.move_to(*self.focused.centre)
        rig.click(1)
        self.assertTrue(rig.wait_until(self.focused.has_focus, rig.EVENT_TIMEOUT),
                        self.focused.lines())
        rig.move_to(*self.hovered.centre)
        self.focused.forget()
        self.hovered.forget()

    def turn(self, notch, key):
        if key:
            rig.xdotool("keydown", key)
        try:
            rig.wheel(notch)
        finally:
            if key:
                rig.xdotool("keyup", key)

    def test_notch_goes_to_the_window_under_the_cursor_multiplied(self):
        for description, ini, notches in self.CASES:
            if ini is None and os.path.exists(self.ini):
                os.remove(self.ini)
            with self.subTest(description), self.start_app(ini) as app:
                self.focus_one_hover_the_other()
                for notch, key, delta, keys in notches:
                    self.hovered.forget()
                    self.turn(notch, key)
                    wheel = self.hovered.wait_for_count("WM_MOUSEWHEEL", 1)
                    self.assertEqual([wheel_fields(m) for m in wheel],
                                     [{"delta": delta, "keys": keys, "x": self.hovered.centre[0],
                                       "y": self.hovered.centre[1]}])
                # The focused window keeps its focus and sees no wheel at all.
                self.assertEqual(self.focused.messages("WM_MOUSEWHEEL"), [])
                self.assertTrue(self.focused.has_focus(), self.focused.lines())
                self.assertEqual(app.close(), 0)

    def test_passthrough_off_leaves_the_notch_unmultiplied(self):
        with self.start_app(["[功能设置]", "滚轮穿透=0", "[滚轮穿透]", "滚动倍数=3"]) as app:
            self.focus_one_hover_the_other()
            for notch, delta in ((AWAY, 120), (TOWARDS, -120)):
                self.focused.forget()
                self.hovered.forget()
                self.turn(notch, None)
                # Wine itself decides which window gets it (under Wine 8 the
                # one under the cursor); whichever it is, it gets one plain
                # notch.
                rig.wait_until(lambda: self.focused.messages("WM_MOUSEWHEEL")
                               or self.hovered.messages("WM_MOUSEWHEEL"), rig.EVENT_TIMEOUT)
                time.sleep(rig.SETTLE)
                received = [wheel_fields(m)["delta"] for w in (self.focused, self.hovered)
                            for m in w.messages("WM_MOUSEWHEEL")]
                self.assertEqual(received, [delta])
            self.assertEqual(app.close(), 0)


class RaiseWindowTest(rig.E2ETestCase):
    # "back" lies partly under "front", which has the focus; the user
    # scrolls over the visible part of "back".
    BACK = ("back", (100, 100, 400, 300), (0xC0, 0x40, 0x40))
    FRONT = ("front", (300, 200, 400, 300), (0x40, 0x40, 0xC0))
    OVERLAP = (420, 330)     # inside both
    BACK_ONLY = (200, 200)   # inside "back" alone
    CASES = [
        # (description, 提前窗口, window seen in the overlap afterwards)
        ("raise off: the window stays behind", "0", FRONT),
        ("raise on: the window comes forward", "1", BACK),
    ]

    def test_scrolled_window_comes_forward_without_taking_the_focus(self):
        for description, raise_window, on_top in self.CASES:
            with self.subTest(description):
                back = self.open_window(*self.BACK)
                front = self.open_window(*self.FRONT)
                try:
                    self.assertEqual(rig.screenshot().pixel(*self.OVERLAP), self.FRONT[2])
                    with self.start_app(["[滚轮穿透]", "提前窗口=" + raise_window]) as app:
                        rig.move_to(*self.BACK_ONLY)
                        rig.wheel(AWAY)
                        self.assertEqual(len(back.wait_for_count("WM_MOUSEWHEEL", 1)), 1)
                        colour = on_top[2]
                        seen = rig.wait_until(
                            lambda: rig.screenshot().pixel(*self.OVERLAP) == colour, 3, 0.1)
                        self.assertTrue(seen, rig.screenshot().pixel(*self.OVERLAP))
                        self.assertTrue(front.has_focus(), front.lines())
                        self.assertFalse(back.has_focus(), back.lines())
                        # Raised, not left "always on top".  (Wine's desktop
                        # draws an activated window above a topmost one, so
                        # the screen would not tell.)
                        self.assertTrue(rig.wait_until(lambda: not back.topmost(), 3, 0.1),
                                        hex(back.ex_style()))
                        self.assertEqual(app.close(), 0)
                finally:
                    back.close()
                    front.close()


if __name__ == "__main__":
    unittest.main()
