// The program as a separate process: started the way a user or a shell starts it,
// observed only through what the system shows of its window from outside.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

constexpr char MainWindowClass[] = "QuorvelDownloaderWindow";
constexpr int ButtonId = 100;

// Where the program's executable is: set from the command line, or next to the folder
// this driver runs from.
void SetProgramPath(const std::wstring& path);
const std::wstring& ProgramPath();

// Polls `done` every few milliseconds until it holds or the time is up; pumps this
// thread's messages meanwhile. Returns whether it held.
template <class Condition>
bool WaitFor(Condition done, DWORD timeoutMs);

// Whether `holds` stays true for the whole of `durationMs`; false at the first failure.
template <class Condition>
bool HoldsFor(Condition holds, DWORD durationMs);

void PumpMessagesFor(DWORD milliseconds);

struct StartOptions {
    std::wstring program;              // the executable; empty for ProgramPath()
    std::wstring arguments;            // appended to the quoted program path
    std::optional<WORD> showCommand;   // STARTF_USESHOWWINDOW with this wShowWindow
    bool waitForMainWindow = true;     // false: started as soon as the process exists
};

class ProgramUnderTest {
public:
    // Starts the program and waits for its main window, unless told not to. Check
    // Started() afterwards.
    explicit ProgramUnderTest(const StartOptions& options = {});
    // Ends the process if it still runs, so that no test leaves one behind.
    ~ProgramUnderTest();
    ProgramUnderTest(const ProgramUnderTest&) = delete;
    ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

    bool Started() const { return started_; }
    const std::string& StartFailure() const { return startFailure_; }

    HWND Window() const { return window_; }  // null when not waited for
    HWND Button() const { return GetDlgItem(window_, ButtonId); }
    DWORD ProcessId() const { return processId_; }
    DWORD ThreadId() const { return threadId_; }  // the thread of the window, or the first

    bool Running() const;
    // The exit code once the process has ended within the time; nothing if it still runs.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs);
    // The keyboard focus of the program's thread (null when it has none).
    HWND Focus() const;
    // The visible top-level windows of the program's thread.
    std::vector<HWND> VisibleWindows() const;
    // Those windows as "class 'title'" entries, for failure messages.
    std::string DescribeVisibleWindows() const;

private:
    PROCESS_INFORMATION process_ = {};
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
    bool started_ = false;
    std::string startFailure_;
};

std::string ClassNameOf(HWND window);
std::string TextOf(HWND window);    // GetWindowTextA: the bytes in this process's code page
std::wstring WideTextOf(HWND window);
std::string Hex(const std::string& bytes);
std::string Describe(const RECT& rect);
RECT WindowRect(HWND window);
// The rectangle of `window` in the client coordinates of `parent`.
RECT RectInClient(HWND window, HWND parent);
bool SameRect(const RECT& a, const RECT& b);

// ---------------------------------------------------------------------------

template <class Condition>
bool WaitFor(Condition done, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (done())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return done();
        PumpMessagesFor(10);
    }
}

template <class Condition>
bool HoldsFor(Condition holds, DWORD durationMs)
{
    DWORD start = GetTickCount();
    do {
        if (!holds())
            return false;
        PumpMessagesFor(10);
    } while (GetTickCount() - start < durationMs);
    return holds();
}
