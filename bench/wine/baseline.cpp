// The yardstick of the Wine benchmark: the least program that ends up where the program
// does. A centred 380x250 window of the same styles holds one push button of the same
// styles and caption, which takes the keyboard focus whenever the window gets it (so at
// the same point of the window's showing as the program's button); a click shows the
// first notice at once. Nothing else: no icons set, no font sent, no keyboard rules.
#include <windows.h>

namespace {

constexpr char ClassName[] = "QuorvelBenchBaseline";

// The program's texts as GBK bytes.
const char Title[] = "Quorvel\xD7\xA8\xD3\xC3\xCF\xC2\xD4\xD8\xC6\xF7";  // Quorvel专用下载器
const char ButtonCaption[] = "\xB5\xE3\xBB\xF7\xCE\xD2\xCF\xC2\xD4\xD8\xB8\xA8\xD6\xFA ";  // 点击我下载辅助
const char NoticeCaption[] = "\xD0\xC5\xCF\xA2\xA3\xBA";  // 信息：
const char NoticeText[] =                                // 先到论坛注册一个用户吧！里面有辅助哦！
    "\xCF\xC8\xB5\xBD\xC2\xDB\xCC\xB3\xD7\xA2\xB2\xE1\xD2\xBB\xB8\xF6\xD3\xC3\xBB\xA7\xB0\xC9"
    "\xA3\xA1\xC0\xEF\xC3\xE6\xD3\xD0\xB8\xA8\xD6\xFA\xC5\xB6\xA3\xA1";

HWND button;

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETFOCUS:
        SetFocus(button);
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            MessageBoxA(nullptr, NoticeText, NoticeCaption, MB_OK | MB_TASKMODAL);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = ClassName;
    RegisterClassA(&windowClass);

    constexpr int Width = 380, Height = 250;
    HWND window = CreateWindowExA(0, ClassName, Title, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                                  (GetSystemMetrics(SM_CXSCREEN) - Width) / 2,
                                  (GetSystemMetrics(SM_CYSCREEN) - Height) / 2, Width, Height, nullptr, nullptr,
                                  instance, nullptr);
    button = CreateWindowExA(0, "BUTTON", ButtonCaption,
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER
                                 | BS_VCENTER | BS_MULTILINE,
                             24, 16, 312, 176, window, reinterpret_cast<HMENU>(100), instance, nullptr);
    ShowWindow(window, SW_SHOW);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
