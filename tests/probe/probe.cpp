// pwprobe: a stand-in for "some other program" in the end-to-end tests.
//
//   pwprobe open LOGFILE TIMEOUT_MS NAME X Y W H RRGGBB [NAME X Y W H RRGGBB]...
//       Opens one visible top-level window per group, each titled NAME and
//       filled with the colour RRGGBB, and appends one line per mouse or
//       focus message they receive to LOGFILE ("NAME WM_LBUTTONDOWN ...").
//       Each window shows its NAME in black at its top left and writes
//       "NAME ready hwnd=0x... client=X,Y,W,H" (client area in screen
//       coordinates) once shown.  Runs until every window is
//       closed (exit 0) or TIMEOUT_MS passes (exit 3).
//   pwprobe find CLASS TITLE     exit 0 and print "hwnd=0x... client=X,Y,W,H"
//                                if the window exists, else exit 1
//   pwprobe close CLASS TITLE    post WM_CLOSE to it; exit 0 if found
//   pwprobe focus CLASS TITLE    bring it to the foreground; exit 0 if found
//   pwprobe memory CLASS TITLE   print workingset=BYTES of its process
//   pwprobe style CLASS TITLE    print exstyle=0x... (WS_EX_TOPMOST is 0x8)
//   pwprobe taskbar-created      broadcast the "TaskbarCreated" message
//
// A CLASS or TITLE of "-" matches any.  Output goes to the standard output
// handle, which Wine connects to the calling shell even for a GUI program.
#include <windows.h>
#include <psapi.h>

#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>

namespace {

const WCHAR probeClass[] = L"PwProbeWindow";

HANDLE logFile = INVALID_HANDLE_VALUE;
int openWindows = 0;

// Window data kept in GWLP_USERDATA.
struct ProbeWindow {
    WCHAR name[64];
    HBRUSH brush;  // the fill colour
};

void WriteText(HANDLE file, const WCHAR* text) {
    if (file == INVALID_HANDLE_VALUE || file == NULL) return;
    char utf8[1024];
    int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, NULL, NULL);
    if (length <= 1) return;
    DWORD written;
    WriteFile(file, utf8, static_cast<DWORD>(length - 1), &written, NULL);
}

void Print(const WCHAR* text) { WriteText(GetStdHandle(STD_OUTPUT_HANDLE), text); }

// One line per call; the file is opened for appending without buffering, so
// a reader sees every line as soon as it is written.
void LogLine(const ProbeWindow* window, const WCHAR* text) {
    WCHAR line[512];
    swprintf(line, 512, L"%ls %ls\n", window->name, text);
    WriteText(logFile, line);
}

void LogButton(const ProbeWindow* window, const WCHAR* message, WPARAM wParam, LPARAM lParam) {
    WCHAR text[160];
    swprintf(text, 160, L"%ls keys=0x%04X x=%d y=%d t=%lu", message,
             static_cast<unsigned>(LOWORD(wParam)), static_cast<int>(static_cast<SHORT>(LOWORD(lParam))),
             static_cast<int>(static_cast<SHORT>(HIWORD(lParam))),
             static_cast<unsigned long>(GetMessageTime()));
    LogLine(window, text);
}

void LogWheel(const ProbeWindow* window, WPARAM wParam, LPARAM lParam) {
    WCHAR text[160];
    swprintf(text, 160, L"WM_MOUSEWHEEL delta=%d keys=0x%04X x=%d y=%d t=%lu",
             static_cast<int>(static_cast<SHORT>(HIWORD(wParam))),
             static_cast<unsigned>(LOWORD(wParam)), static_cast<int>(static_cast<SHORT>(LOWORD(lParam))),
             static_cast<int>(static_cast<SHORT>(HIWORD(lParam))),
             static_cast<unsigned long>(GetMessageTime()));
    LogLine(window, text);
}

// "hwnd=0x... client=X,Y,W,H": the window and its client area in screen
// coordinates.
void DescribeWindow(HWND hwnd, WCHAR (&text)[128]) {
    RECT client;
    GetClientRect(hwnd, &client);
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    swprintf(text, 128, L"hwnd=0x%llX client=%ld,%ld,%ld,%ld",
             static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(hwnd)), origin.x,
             origin.y, client.right, client.bottom);
}

void LogReady(HWND hwnd, const ProbeWindow* window) {
    WCHAR description[128];
    DescribeWindow(hwnd, description);
    WCHAR text[160];
    swprintf(text, 160, L"ready %ls", description);
    LogLine(window, text);
}

void Paint(HWND hwnd, const ProbeWindow* window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    FillRect(dc, &ps.rcPaint, window->brush);
    // The window's name in the dialog font, so that tests can see whether
    // Chinese text renders as glyphs or as boxes.
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutW(dc, 4, 4, window->name, lstrlenW(window->name));
    SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}

void OnDestroy(ProbeWindow* window) {
    LogLine(window, L"closed");
    DeleteObject(window->brush);
    delete window;
    if (--openWindows == 0) PostQuitMessage(0);
}

LRESULT CALLBACK ProbeWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const CREATESTRUCTW* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    ProbeWindow* window = reinterpret_cast<ProbeWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (window == NULL) return DefWindowProcW(hwnd, message, wParam, lParam);

    switch (message) {
    case WM_LBUTTONDOWN: LogButton(window, L"WM_LBUTTONDOWN", wParam, lParam); return 0;
    case WM_LBUTTONUP: LogButton(window, L"WM_LBUTTONUP", wParam, lParam); return 0;
    case WM_LBUTTONDBLCLK: LogButton(window, L"WM_LBUTTONDBLCLK", wParam, lParam); return 0;
    case WM_RBUTTONDOWN: LogButton(window, L"WM_RBUTTONDOWN", wParam, lParam); return 0;
    case WM_RBUTTONUP: LogButton(window, L"WM_RBUTTONUP", wParam, lParam); return 0;
    case WM_MBUTTONDOWN: LogButton(window, L"WM_MBUTTONDOWN", wParam, lParam); return 0;
    case WM_MBUTTONUP: LogButton(window, L"WM_MBUTTONUP", wParam, lParam); return 0;
    case WM_MOUSEWHEEL: LogWheel(window, wParam, lParam); return 0;
    case WM_SETFOCUS: LogLine(window, L"WM_SETFOCUS"); return 0;
    case WM_KILLFOCUS: LogLine(window, L"WM_KILLFOCUS"); return 0;
    case WM_PAINT: Paint(hwnd, window); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_DESTROY: OnDestroy(window); SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0); return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void RegisterProbeClass(HINSTANCE instance) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;  // no CS_DBLCLKS: a double click is two presses
    wc.lpfnWndProc = ProbeWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(NULL, IDC_ARROW);
    wc.lpszClassName = probeClass;
    RegisterClassExW(&wc);
}

// NAME X Y W H RRGGBB: the window's outer rectangle and its fill colour.
HWND OpenProbeWindow(HINSTANCE instance, wchar_t** group) {
    ProbeWindow* window = new ProbeWindow();
    lstrcpynW(window->name, group[0], ARRAYSIZE(window->name));
    unsigned long rgb = wcstoul(group[5], NULL, 16);
    window->brush = CreateSolidBrush(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    HWND hwnd = CreateWindowExW(0, probeClass, window->name, WS_OVERLAPPEDWINDOW,
                                _wtoi(group[1]), _wtoi(group[2]), _wtoi(group[3]),
                                _wtoi(group[4]), NULL, NULL, instance, window);
    if (hwnd == NULL) {
        DeleteObject(window->brush);
        delete window;
        return NULL;
    }
    ++openWindows;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    LogReady(hwnd, window);
    return hwnd;
}

int RunOpen(HINSTANCE instance, int argc, wchar_t** argv) {
    if (argc < 10 || (argc - 4) % 6 != 0) return 2;
    logFile = CreateFileW(argv[2], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (logFile == INVALID_HANDLE_VALUE) return 2;
    RegisterProbeClass(instance);
    for (int i = 4; i < argc; i += 6) {
        if (OpenProbeWindow(instance, argv + i) == NULL) return 2;
    }
    // A thread timer (no window): its WM_TIMER ends the loop.
    UINT timeout = static_cast<UINT>(_wtoi(argv[3]));
    if (timeout > 0) SetTimer(NULL, 0, timeout, NULL);

    int exitCode = 0;
    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == NULL) {
            exitCode = 3;
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    CloseHandle(logFile);
    return exitCode;
}

const WCHAR* AnyIfDash(const WCHAR* text) { return lstrcmpW(text, L"-") == 0 ? NULL : text; }

HWND FindTarget(int argc, wchar_t** argv) {
    if (argc < 4) return NULL;
    HWND hwnd = FindWindowW(AnyIfDash(argv[2]), AnyIfDash(argv[3]));
    if (hwnd != NULL) {
        WCHAR text[128];
        DescribeWindow(hwnd, text);
        Print(text);
        Print(L"\n");
    }
    return hwnd;
}

int RunClose(HWND target) { return PostMessageW(target, WM_CLOSE, 0, 0) ? 0 : 2; }

int RunFocus(HWND target) { return SetForegroundWindow(target) ? 0 : 2; }

int RunMemory(HWND target) {
    DWORD processId = 0;
    GetWindowThreadProcessId(target, &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process == NULL) return 2;
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    BOOL ok = GetProcessMemoryInfo(process, &counters, sizeof counters);
    CloseHandle(process);
    if (!ok) return 2;
    WCHAR text[64];
    swprintf(text, 64, L"workingset=%llu\n", static_cast<unsigned long long>(counters.WorkingSetSize));
    Print(text);
    return 0;
}

int RunStyle(HWND target) {
    WCHAR text[64];
    swprintf(text, 64, L"exstyle=0x%08lX\n",
             static_cast<unsigned long>(GetWindowLongW(target, GWL_EXSTYLE)));
    Print(text);
    return 0;
}

int RunTaskbarCreated() {
    UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return PostMessageW(HWND_BROADCAST, message, 0, 0) ? 0 : 2;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = __argc;
    wchar_t** argv = __wargv;
    if (argv == NULL || argc < 2) return 2;
    const WCHAR* command = argv[1];

    if (lstrcmpW(command, L"open") == 0) return RunOpen(instance, argc, argv);
    if (lstrcmpW(command, L"taskbar-created") == 0) return RunTaskbarCreated();

    HWND target = FindTarget(argc, argv);
    if (lstrcmpW(command, L"find") == 0) return target != NULL ? 0 : 1;
    if (target == NULL) return 1;
    if (lstrcmpW(command, L"close") == 0) return RunClose(target);
    if (lstrcmpW(command, L"focus") == 0) return RunFocus(target);
    if (lstrcmpW(command, L"memory") == 0) return RunMemory(target);
    if (lstrcmpW(command, L"style") == 0) return RunStyle(target);
    return 2;
}
