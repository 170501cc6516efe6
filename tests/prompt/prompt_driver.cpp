#include "tests/prompt/prompt_driver.h"

#include <gtest/gtest.h>

#include <fstream>

const std::string ForumNotice =
    "\xCF\xC8\xB5\xBD\xC2\xDB\xCC\xB3\xD7\xA2\xB2\xE1\xD2\xBB\xB8\xF6\xD3\xC3\xBB\xA7\xB0\xC9"
    "\xA3\xA1\xC0\xEF\xC3\xE6\xD3\xD0\xB8\xA8\xD6\xFA\xC5\xB6\xA3\xA1";
const std::string GroupNotice = "\xBB\xF2\xD5\xDF\xBC\xD3\xC8\xEB\x51\x75\x6F\x72\x76\x65\x6C\xBC\xD2\xD7\xE5";
const std::string MemoryFailure =
    "\xC4\xDA\xB4\xE6\xB2\xBB\xD7\xE3\xA3\xAC\xB3\xCC\xD0\xF2\xBD\xAB\xCD\xCB\xB3\xF6\xA1\xA3";
const std::string ForumPage = "https://forum.quorvel.example/";
const std::string GroupPage = "https://go.quorvel.example/group";

namespace {

const std::string NoticeCaption = "\xD0\xC5\xCF\xA2\xA3\xBA";  // 信息：
const std::string ProgramTitle = "\x51\x75\x6F\x72\x76\x65\x6C\xD7\xA8\xD3\xC3\xCF\xC2\xD4\xD8\xC6\xF7";
constexpr int StaticTextId = 0xFFFF;
constexpr int StaticIconId = 1088;

bool IsMessageBox(HWND window) { return ClassNameOf(window) == "#32770"; }

std::vector<int> VisibleButtonIds(HWND box)
{
    std::vector<int> ids;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassNameOf(child) == "Button" && IsWindowVisible(child))
            ids.push_back(GetDlgCtrlID(child));
    }
    return ids;
}

void ExpectBox(HWND box, const std::string& caption, const std::string& text, bool icon)
{
    ASSERT_NE(box, nullptr) << "no message box shown";
    EXPECT_EQ(Hex(TextOf(box)), Hex(caption)) << "caption";
    EXPECT_EQ(Hex(TextOf(GetDlgItem(box, StaticTextId))), Hex(text)) << "text";
    EXPECT_EQ(VisibleButtonIds(box), std::vector<int>{IDOK}) << "buttons";
    EXPECT_EQ(SendMessageA(GetDlgItem(box, StaticIconId), STM_GETICON, 0, 0) != 0, icon) << "icon";
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr) << "owner";
}

}  // namespace

BrowserLog::BrowserLog()
{
    char path[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("QUORVEL_BROWSER_LOG", path, MAX_PATH);
    path_.assign(path, length < MAX_PATH ? length : 0);
    DeleteFileA(path_.c_str());
}

std::vector<std::string> BrowserLog::Lines() const
{
    std::vector<std::string> lines;
    std::ifstream file(path_);
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

bool BrowserLog::WaitForLines(size_t count, DWORD timeoutMs) const
{
    return WaitFor([&] { return Lines().size() >= count; }, timeoutMs);
}

std::string TestFolder()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string WideToAnsi(const std::wstring& text)
{
    int length = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(length > 0 ? length - 1 : 0, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &ansi[0], length, nullptr, nullptr);
    return ansi;
}

HWND WaitForBox(const ProgramUnderTest& program, DWORD timeoutMs)
{
    HWND box = nullptr;
    WaitFor([&] {
        for (HWND window : program.VisibleWindows()) {
            if (IsMessageBox(window))
                box = window;
        }
        return box != nullptr;
    }, timeoutMs);
    return box;
}

HWND WaitForAnotherBox(const ProgramUnderTest& program, HWND previous)
{
    HWND box = nullptr;
    WaitFor([&] {
        box = WaitForBox(program, 0);
        return box && box != previous;
    }, 10000);
    return box != previous ? box : nullptr;
}

bool NoBoxShown(const ProgramUnderTest& program) { return WaitForBox(program, 0) == nullptr; }

void ExpectNotice(HWND box, const std::string& text) { ExpectBox(box, NoticeCaption, text, false); }

void ExpectFatalErrorBox(HWND box, const std::string& text) { ExpectBox(box, ProgramTitle, text, true); }

void PressOk(HWND box)
{
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
}

bool WaitUntilGone(HWND window)
{
    return WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); }, 5000);
}

POINT CentreOf(HWND window)
{
    RECT rect = WindowRect(window);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

void ClickButton(const ProgramUnderTest& program)
{
    ASSERT_TRUE(MakeForeground(program.Window()));
    ClickAt(CentreOf(program.Button()));
}

void RunSequence(const ProgramUnderTest& program, const BrowserLog& log, size_t pagesBefore)
{
    HWND forum = WaitForBox(program);
    ASSERT_NE(forum, nullptr) << "no forum notice";
    PressOk(forum);
    HWND group = WaitForAnotherBox(program, forum);
    ASSERT_NE(group, nullptr) << "no group notice";
    PressOk(group);
    ASSERT_TRUE(WaitUntilGone(group));
    ASSERT_TRUE(log.WaitForLines(pagesBefore + 2)) << "pages: " << log.Lines().size();
}
