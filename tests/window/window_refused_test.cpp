// The fatal path: when the main window or its button cannot be created, the program shows
// an error box and, once it is closed, ends with exit code 0xFFFFFFFF. Each case starts
// refused_window.exe (the program's entry with that creation refused) and checks its box
// from outside, as a user would find it.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The box's text, in GBK: "无法创建程序窗口，程序将退出。"
const unsigned char WindowFailureBytes[] = {
    0xCE, 0xDE, 0xB7, 0xA8, 0xB4, 0xB4, 0xBD, 0xA8, 0xB3, 0xCC, 0xD0, 0xF2, 0xB4, 0xB0, 0xBF,
    0xDA, 0xA3, 0xAC, 0xB3, 0xCC, 0xD0, 0xF2, 0xBD, 0xAB, 0xCD, 0xCB, 0xB3, 0xF6, 0xA1, 0xA3,
};
const wchar_t WindowFailureUnicode[] = L"无法创建程序窗口，程序将退出。";

// The box's caption, in GBK: "Quorvel专用下载器"
const unsigned char CaptionBytes[] = {
    0x51, 0x75, 0x6F, 0x72, 0x76, 0x65, 0x6C, 0xD7, 0xA8, 0xD3, 0xC3, 0xCF, 0xC2, 0xD4, 0xD8, 0xC6, 0xF7,
};

constexpr int MessageTextId = 0xFFFF;
constexpr int IconId = 1088;
constexpr DWORD BoxTimeoutMs = 15000;

std::string HexOf(const std::string& bytes)
{
    std::string text;
    char byte[4];
    for (unsigned char b : bytes) {
        std::snprintf(byte, sizeof byte, "%02X ", b);
        text += byte;
    }
    return text;
}

template <size_t N>
std::string HexOf(const unsigned char (&bytes)[N])
{
    return HexOf(std::string(bytes, bytes + N));
}

std::string TextOf(HWND window)
{
    char text[512];
    int length = GetWindowTextA(window, text, sizeof text);
    return std::string(text, length > 0 ? length : 0);
}

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

struct ProcessWindows {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK AddIfOfProcess(HWND window, LPARAM list)
{
    auto* found = reinterpret_cast<ProcessWindows*>(list);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == found->processId)
        found->windows.push_back(window);
    return TRUE;
}

// The top-level windows of a process.
std::vector<HWND> TopLevelWindowsOf(DWORD processId)
{
    ProcessWindows found = {processId, {}};
    EnumWindows(AddIfOfProcess, reinterpret_cast<LPARAM>(&found));
    return found.windows;
}

BOOL CALLBACK AddChild(HWND window, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> ChildrenOf(HWND parent)
{
    std::vector<HWND> children;
    EnumChildWindows(parent, AddChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

// One run of refused_window.exe; ended if still running when the test is over.
class RefusedRun {
public:
    explicit RefusedRun(const char* argument)
    {
        char path[MAX_PATH];
        DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string program(path, length);
        program.replace(program.find_last_of('\\') + 1, std::string::npos, "refused_window.exe");
        std::string commandLine = "\"" + program + "\" " + argument;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        started = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &startup, &process) != FALSE;
    }
    ~RefusedRun()
    {
        if (!started)
            return;
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    bool Exited(DWORD timeoutMs) const { return WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0; }
    DWORD ExitCode() const
    {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        return code;
    }
    // The process's visible dialog-class window, waiting for it up to the deadline;
    // null if the process ends first or the time is up.
    HWND WaitForBox() const
    {
        DWORD start = GetTickCount();
        do {
            for (HWND window : TopLevelWindowsOf(process.dwProcessId)) {
                if (ClassOf(window) == "#32770" && IsWindowVisible(window))
                    return window;
            }
        } while (!Exited(20) && GetTickCount() - start < BoxTimeoutMs);
        return nullptr;
    }

    bool started = false;
    PROCESS_INFORMATION process = {};
};

struct RefusedCreation {
    const char* argument;  // of refused_window.exe
    const char* what;
};

class FatalErrorBox : public testing::TestWithParam<RefusedCreation> {};

TEST_P(FatalErrorBox, ShowsTheWindowFailureAndEndsWithMinusOneWhenClosed)
{
    SCOPED_TRACE(std::string("refused: ") + GetParam().what);
    RefusedRun run(GetParam().argument);
    ASSERT_TRUE(run.started) << "CreateProcessA failed: " << GetLastError();
    HWND box = run.WaitForBox();
    ASSERT_NE(box, nullptr) << "no error box within " << BoxTimeoutMs << " ms; "
                            << (run.Exited(0) ? "the process ended with code 0x" : "it still runs")
                            << std::hex << (run.Exited(0) ? run.ExitCode() : 0);

    // Only the box: no window of the program was left or shown.
    std::vector<HWND> boxes;
    for (HWND window : TopLevelWindowsOf(run.process.dwProcessId)) {
        std::string name = ClassOf(window);
        EXPECT_NE(name, "QuorvelDownloaderWindow")
            << "the program's window exists, " << (IsWindowVisible(window) ? "visible" : "hidden");
        if (name == "#32770")
            boxes.push_back(window);
    }
    EXPECT_EQ(boxes.size(), 1u) << "error boxes of the process";

    EXPECT_EQ(HexOf(TextOf(box)), HexOf(CaptionBytes)) << "caption";
    HWND message = GetDlgItem(box, MessageTextId);
    ASSERT_NE(message, nullptr) << "no message text (static 0xFFFF)";
    EXPECT_EQ(HexOf(TextOf(message)), HexOf(WindowFailureBytes)) << "text";
    if (GetACP() == 936) {
        // Under the code page the texts are written in, the system reads them as meant.
        wchar_t wide[128] = {};
        GetWindowTextW(message, wide, 128);
        EXPECT_TRUE(std::wstring(wide) == WindowFailureUnicode) << "text as the system reads it under code page 936";
    }

    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr) << "the box has an owner";

    std::vector<int> buttons;
    for (HWND child : ChildrenOf(box)) {
        if (ClassOf(child) == "Button" && IsWindowVisible(child))
            buttons.push_back(GetDlgCtrlID(child));
    }
    EXPECT_EQ(buttons, std::vector<int>{IDOK}) << "ids of the visible buttons";

    HWND icon = GetDlgItem(box, IconId);
    ASSERT_NE(icon, nullptr) << "no icon control (static 1088)";
    DWORD_PTR iconHandle = 0;
    SendMessageTimeoutA(icon, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &iconHandle);
    EXPECT_NE(iconHandle, 0u) << "the box shows no icon";

    // The box waits for the user; closing it ends the process.
    ASSERT_FALSE(run.Exited(0)) << "the process ended while its box was shown";
    HWND ok = GetDlgItem(box, IDOK);
    ASSERT_NE(ok, nullptr);
    DWORD_PTR ignored;
    SendMessageTimeoutA(ok, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    ASSERT_TRUE(run.Exited(10000)) << "the process did not end after OK";
    EXPECT_EQ(run.ExitCode(), 0xFFFFFFFFu) << std::hex << "exit code 0x" << run.ExitCode();
}

INSTANTIATE_TEST_SUITE_P(RefusedCreations, FatalErrorBox,
                         testing::Values(RefusedCreation{"window", "the main window"},
                                         RefusedCreation{"button", "its button"}),
                         [](const testing::TestParamInfo<RefusedCreation>& info) {
                             return std::string(info.param.argument);
                         });

}  // namespace
