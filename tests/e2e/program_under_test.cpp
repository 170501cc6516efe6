#include "tests/e2e/program_under_test.h"

#include <cstdio>

namespace {

// Long enough for the program to start Wine's desktop process again (about ten seconds
// here) should it have ended just before.
constexpr DWORD WindowTimeoutMs = 20000;

std::wstring& StoredProgramPath()
{
    static std::wstring path;
    return path;
}

// <run dir>\tests\driver.exe runs against <run dir>\quorvel-downloader.exe.
std::wstring PathBesideDriver()
{
    wchar_t module[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring path(module, length);
    for (int level = 0; level < 2; ++level) {
        size_t slash = path.find_last_of(L"\\/");
        path.resize(slash == std::wstring::npos ? 0 : slash);
    }
    return path + L"\\quorvel-downloader.exe";
}

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && ClassNameOf(window) == MainWindowClass) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectVisible(HWND window, LPARAM parameter)
{
    if (IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
    return TRUE;
}

}  // namespace

void SetProgramPath(const std::wstring& path) { StoredProgramPath() = path; }

const std::wstring& ProgramPath()
{
    if (StoredProgramPath().empty())
        StoredProgramPath() = PathBesideDriver();
    return StoredProgramPath();
}

void PumpMessagesFor(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds)
            break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
}

ProgramUnderTest::ProgramUnderTest(const StartOptions& options)
{
    const std::wstring& path = options.program.empty() ? ProgramPath() : options.program;
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!options.arguments.empty())
        commandLine += L" " + options.arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (options.showCommand) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = *options.showCommand;
    }
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process_)) {
        char text[64];
        std::snprintf(text, sizeof text, "CreateProcess failed, error %lu", GetLastError());
        startFailure_ = text;
        return;
    }
    processId_ = process_.dwProcessId;
    threadId_ = process_.dwThreadId;
    if (!options.waitForMainWindow) {
        started_ = true;
        return;
    }

    WindowSearch search = {processId_, nullptr};
    WaitFor([&] {
        EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
        return (search.found && IsWindowVisible(search.found)) || !Running();
    }, WindowTimeoutMs);
    if (search.found && IsWindowVisible(search.found)) {
        window_ = search.found;
        threadId_ = GetWindowThreadProcessId(window_, nullptr);
        started_ = true;
        return;
    }
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    char text[128];
    std::snprintf(text, sizeof text, "no visible %s window of process %lu within %lu ms (%s, code 0x%lX)",
                  MainWindowClass, processId_, WindowTimeoutMs, Running() ? "running" : "ended", code);
    startFailure_ = text;
}

ProgramUnderTest::~ProgramUnderTest()
{
    if (!process_.hProcess)
        return;
    if (Running()) {
        TerminateProcess(process_.hProcess, 0xDEAD);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

bool ProgramUnderTest::Running() const
{
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ProgramUnderTest::WaitForExit(DWORD timeoutMs)
{
    if (!WaitFor([&] { return !Running(); }, timeoutMs))
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

HWND ProgramUnderTest::Focus() const
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId_, &info) ? info.hwndFocus : nullptr;
}

std::vector<HWND> ProgramUnderTest::VisibleWindows() const
{
    std::vector<HWND> windows;
    EnumThreadWindows(threadId_, CollectVisible, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::string ProgramUnderTest::DescribeVisibleWindows() const
{
    std::string text;
    for (HWND window : VisibleWindows())
        text += (text.empty() ? "" : ", ") + ClassNameOf(window) + " '" + TextOf(window) + "'";
    return text.empty() ? "none" : text;
}

std::string ClassNameOf(HWND window)
{
    char name[256];
    int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? length : 0);
}

std::string TextOf(HWND window)
{
    char text[512];
    int length = GetWindowTextA(window, text, sizeof text);
    return std::string(text, length > 0 ? length : 0);
}

std::wstring WideTextOf(HWND window)
{
    wchar_t text[512];
    int length = GetWindowTextW(window, text, 512);
    return std::wstring(text, length > 0 ? length : 0);
}

std::string Hex(const std::string& bytes)
{
    std::string text;
    for (unsigned char byte : bytes) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%s%02X", text.empty() ? "" : " ", byte);
        text += digits;
    }
    return text;
}

std::string Describe(const RECT& rect)
{
    char text[96];
    std::snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld) %ldx%ld", rect.left, rect.top, rect.right,
                  rect.bottom, rect.right - rect.left, rect.bottom - rect.top);
    return text;
}

RECT WindowRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

RECT RectInClient(HWND window, HWND parent)
{
    RECT rect = WindowRect(window);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
