// What the download prompt's end-to-end tests share: the expected texts, the recording
// browser's log, and reading and closing the program's notices from outside.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/program_under_test.h"
#include "tests/e2e/user_input.h"

// The texts as GBK bytes.
extern const std::string ForumNotice;    // 先到论坛注册一个用户吧！里面有辅助哦！
extern const std::string GroupNotice;    // 或者加入Quorvel家族
extern const std::string MemoryFailure;  // 内存不足，程序将退出。

// The addresses the program is configured with by default.
extern const std::string ForumPage;
extern const std::string GroupPage;

// The pages that reached the session's browser, one address a line; emptied on creation.
class BrowserLog {
public:
    BrowserLog();
    std::vector<std::string> Lines() const;
    // A deadline, not a pause: under load the browser can get a page seconds late.
    bool WaitForLines(size_t count, DWORD timeoutMs = 20000) const;

private:
    std::string path_;
};

// The folder of the driver, where the test programs lie, with a trailing backslash.
std::string TestFolder();
std::string WideToAnsi(const std::wstring& text);

// The program's visible message box, waited for; null if none came in time.
HWND WaitForBox(const ProgramUnderTest& program, DWORD timeoutMs = 10000);
// A visible message box other than `previous`, waited for.
HWND WaitForAnotherBox(const ProgramUnderTest& program, HWND previous);
bool NoBoxShown(const ProgramUnderTest& program);

// A notice as the user sees it: caption 信息：, the text, one OK button, no icon, no owner.
void ExpectNotice(HWND box, const std::string& text);
// The fatal-error box: the program's title as caption, the text, OK, the error icon.
void ExpectFatalErrorBox(HWND box, const std::string& text);

void PressOk(HWND box);
bool WaitUntilGone(HWND window);
POINT CentreOf(HWND window);
// Brings the main window to the front and clicks its button with the mouse.
void ClickButton(const ProgramUnderTest& program);
// Closes both notices of a running sequence with OK and waits for its two pages.
void RunSequence(const ProgramUnderTest& program, const BrowserLog& log, size_t pagesBefore);
