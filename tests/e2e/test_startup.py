"""Starting Pointerwright: the INI file it leaves beside the exe, what a
second start does, and what closing it leaves behind."""

import unittest

import rig

# The file a first start writes when there is none: the nine switches with
# their defaults, in the order the tray menu lists them.
DEFAULT_INI = [
    "[修复功能]",
    "单击=1",
    "释放=1",
    "滚动=1",
    "[设备选择]",
    "左键=0",
    "右键=0",
    "[功能设置]",
    "滚轮穿透=1",
    "音量控制=1",
    "鼠标手势=1",
    "显示图标=1",
]

ALPHA = ("alpha", (140, 120, 320, 220), (0xC0, 0x40, 0x40))


def try_ini_lines(path):
    """The INI file's lines, or None while it is missing or half written."""
    try:
        with open(path, "rb") as f:
            return rig.ini_lines(f.read())
    except (OSError, UnicodeDecodeError, AssertionError):
        return None


class IniFileTest(rig.E2ETestCase):
    def test_first_start_writes_the_default_ini_as_utf16(self):
        # Under this locale the ANSI code page has no Chinese: only a UTF-16
        # file keeps the names.
        app = self.start_app(lang="C.UTF-8")
        # The file appears while the program runs, not only when it ends.
        written = rig.wait_until(lambda: try_ini_lines(self.ini) == DEFAULT_INI, 10)
        self.assertTrue(written, f"INI now: {try_ini_lines(self.ini)}")
        self.assertEqual(app.close(), 0)
        data = self.read_ini()
        self.assertEqual(data[:2], b"\xff\xfe")
        self.assertEqual(rig.ini_lines(data), DEFAULT_INI)
        self.assertNotIn("?", data[2:].decode("utf-16-le"))

    def test_start_keeps_user_values_and_normalises_the_switches(self):
        # (line as the user typed it, line after a start); None: not in the
        # file before the start.
        rows = [
            ("; 我的鼠标设置", "; 我的鼠标设置"),
            ("[修复功能]", "[修复功能]"),
            ("单击=7", "单击=1"),
            ("释放=abc", "释放=0"),
            ("滚动=-5", "滚动=1"),
            ("[修复参数]", "[修复参数]"),
            ("单击间隔=30", "单击间隔=30"),
            ("释放间隔=0x10", "释放间隔=0x10"),
            ("我的备注=不要改", "我的备注=不要改"),
            ("[设备选择]", "[设备选择]"),
            ("左键= 12", "左键=1"),
            # 右键 missing: written with its default at the section's end
            (None, "右键=0"),
            ("[滚轮穿透]", "[滚轮穿透]"),
            ("滚动倍数=3", "滚动倍数=3"),
            ("提前窗口=0", "提前窗口=0"),
            ("[功能设置]", "[功能设置]"),
            ("滚轮穿透=1", "滚轮穿透=1"),
            ("音量控制=", "音量控制=1"),   # empty: the default
            ("鼠标手势=0", "鼠标手势=0"),
            # 显示图标 missing; 调试模式 missing and never written
            (None, "显示图标=1"),
        ]
        self.write_ini([typed for typed, _ in rows if typed is not None])
        app = self.start_app()
        self.assertEqual(app.close(), 0)
        self.assertEqual(rig.ini_lines(self.read_ini()), [after for _, after in rows])


class SecondStartTest(rig.E2ETestCase):
    def test_second_start_exits_at_once_and_the_first_keeps_working(self):
        first = self.start_app(["[滚轮穿透]", "滚动倍数=3"], wait_for_icon=True)
        icon = rig.tray_icon()
        # A changed file shows whether the second start loaded or saved it.
        edited = rig.ini_bytes(["[修复功能]", "单击=5", "[滚轮穿透]", "滚动倍数=3"])
        with open(self.ini, "wb") as f:
            f.write(edited)

        second = self.launch()
        self.assertEqual(second.wait_exit(), 0, "the second start should end at once")

        self.assertTrue(first.running())
        self.assertTrue(first.window_exists())
        self.assertEqual(self.read_ini(), edited)
        after = rig.tray_icon()
        self.assertTrue(after.shown, after)
        self.assertEqual(after.box, icon.box, "the taskbar should still hold one icon")
        # The first one still forwards and multiplies the wheel.
        window = self.open_window(*ALPHA)
        rig.move_to(*window.centre)
        rig.wheel(rig.WHEEL_AWAY)
        self.assertEqual([m.split()[1] for m in window.wait_for_count("WM_MOUSEWHEEL", 1)],
                         ["delta=360"])


class ClosingTest(rig.E2ETestCase):
    CASES = [
        # (description, 显示图标, icon expected while running)
        ("icon shown", "1", True),
        ("icon hidden", "0", False),
    ]

    def test_wm_close_ends_the_program_and_removes_the_icon(self):
        window = self.open_window(*ALPHA)
        for description, show_icon, icon_expected in self.CASES:
            ini = ["[功能设置]", "显示图标=" + show_icon, "[滚轮穿透]", "滚动倍数=3"]
            with self.subTest(description), self.start_app(ini) as app:
                # A multiplied notch shows the program has finished starting.
                rig.move_to(*window.centre)
                window.forget()
                rig.wheel(rig.WHEEL_AWAY)
                wheel = window.wait_for_count("WM_MOUSEWHEEL", 1)
                self.assertEqual([m.split()[1] for m in wheel], ["delta=360"])
                shown = rig.wait_until(lambda: rig.tray_icon().shown,
                                       rig.STARTUP_TIMEOUT if icon_expected else 1.0, 0.1)
                self.assertEqual(shown, icon_expected, rig.tray_icon())

                self.assertEqual(app.close(), 0)
                self.assertFalse(app.window_exists())
                gone = rig.wait_until(lambda: not rig.tray_icon().shown, 5, 0.1)
                self.assertTrue(gone, f"tray icon left behind: {rig.tray_icon()}")
                # Without the program the wheel is Wine's own again: one notch
                # to the window under the cursor, not multiplied.
                window.forget()
                rig.wheel(rig.WHEEL_AWAY)
                wheel = window.wait_for_count("WM_MOUSEWHEEL", 1)
                self.assertEqual([m.split()[1] for m in wheel], ["delta=120"])


if __name__ == "__main__":
    unittest.main()
