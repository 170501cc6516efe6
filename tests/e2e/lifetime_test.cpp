// How the program starts, ends and lives beside other instances and the system.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tests/e2e/main_window_checks.h"
#include "tests/e2e/program_under_test.h"
#include "tests/e2e/user_input.h"

namespace {

constexpr DWORD ExitTimeoutMs = 5000;

// The classes and titles of windows other than the main one that the program's thread
// showed while it was being watched.
class OtherWindowsSeen {
public:
    explicit OtherWindowsSeen(const ProgramUnderTest& program) : program_(program) {}

    void Look()
    {
        for (HWND window : program_.VisibleWindows()) {
            if (window != program_.Window())
                seen_.insert(ClassNameOf(window) + " '" + TextOf(window) + "'");
        }
    }
    std::string Describe() const
    {
        std::string text;
        for (const std::string& window : seen_)
            text += (text.empty() ? "" : ", ") + window;
        return text.empty() ? "none" : text;
    }

private:
    const ProgramUnderTest& program_;
    std::set<std::string> seen_;
};

// Every way of closing ends the process at once, without a question.
struct CloseCase {
    const char* name;
    void (*close)(const ProgramUnderTest& program);
    DWORD exitCode;
};

void PrintTo(const CloseCase& close, std::ostream* out) { *out << close.name; }

const CloseCase CloseCases[] = {
    {"EscKey", [](const ProgramUnderTest&) { PressKeys({VK_ESCAPE}); }, 0},
    {"AltF4Keys", [](const ProgramUnderTest&) { PressKeys({VK_MENU, VK_F4}); }, 0},
    {"PostedClose", [](const ProgramUnderTest& program) { PostMessageA(program.Window(), WM_CLOSE, 0, 0); }, 0},
    {"SysCommandClose",
     [](const ProgramUnderTest& program) { PostMessageA(program.Window(), WM_SYSCOMMAND, SC_CLOSE, 0); }, 0},
    // A quit message from outside ends the loop; its code becomes the exit code.
    {"QuitMessage7", [](const ProgramUnderTest& program) { PostThreadMessageA(program.ThreadId(), WM_QUIT, 7, 0); },
     7},
};

class Closing : public testing::TestWithParam<CloseCase> {};

TEST_P(Closing, EndsTheProcessWithoutAQuestion)
{
    ProgramUnderTest program;
    ASSERT_TRUE(program.Started()) << program.StartFailure();
    ASSERT_TRUE(ActiveWithFocusOnButton(program));

    GetParam().close(program);
    OtherWindowsSeen others(program);
    bool ended = WaitFor([&] {
        others.Look();
        return !program.Running();
    }, ExitTimeoutMs);
    ASSERT_TRUE(ended) << "still running after " << ExitTimeoutMs << " ms; visible windows "
                       << program.DescribeVisibleWindows();
    EXPECT_EQ(others.Describe(), "none") << "no window should appear while closing";
    std::optional<DWORD> exitCode = program.WaitForExit(0);
    ASSERT_TRUE(exitCode.has_value());
    EXPECT_EQ(*exitCode, GetParam().exitCode);
}

INSTANTIATE_TEST_SUITE_P(Ways, Closing, testing::ValuesIn(CloseCases),
                         [](const testing::TestParamInfo<CloseCase>& info) { return std::string(info.param.name); });

// Neither the show command of the start nor the command line changes the window.
struct StartCase {
    const char* name;
    const wchar_t* arguments;
    int showCommand;  // -1: no STARTF_USESHOWWINDOW
};

void PrintTo(const StartCase& start, std::ostream* out) { *out << start.name; }

const StartCase StartCases[] = {
    {"ShowMinimized", L"", SW_SHOWMINIMIZED},
    {"ShowMaximized", L"", SW_SHOWMAXIMIZED},
    {"ShowMinimizedInactive", L"", SW_SHOWMINNOACTIVE},
    {"Hide", L"", SW_HIDE},
    {"Arguments", L"/S --minimized \"C:\\some folder\\file.txt\"", -1},
    {"MaximizedWithArguments", L"-x 1", SW_SHOWMAXIMIZED},
};

class StartUp : public testing::TestWithParam<StartCase> {};

TEST_P(StartUp, GivesTheNormalActiveCentredWindow)
{
    StartOptions options;
    options.arguments = GetParam().arguments;
    if (GetParam().showCommand >= 0)
        options.showCommand = static_cast<WORD>(GetParam().showCommand);
    ProgramUnderTest program(options);
    ASSERT_TRUE(program.Started()) << program.StartFailure();
    EXPECT_TRUE(ShownNormallyAtCentre(program.Window()));
    EXPECT_TRUE(ActiveWithFocusOnButton(program));
}

INSTANTIATE_TEST_SUITE_P(Conditions, StartUp, testing::ValuesIn(StartCases),
                         [](const testing::TestParamInfo<StartCase>& info) { return std::string(info.param.name); });

TEST(Instances, ASecondRunsOnItsOwnAndOutlivesTheFirst)
{
    ProgramUnderTest first;
    ASSERT_TRUE(first.Started()) << first.StartFailure();
    ProgramUnderTest second;
    ASSERT_TRUE(second.Started()) << second.StartFailure();
    EXPECT_NE(first.ProcessId(), second.ProcessId());
    EXPECT_NE(first.Window(), second.Window());
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(ShownNormallyAtCentre(first.Window()));
    EXPECT_TRUE(ShownNormallyAtCentre(second.Window()));
    EXPECT_TRUE(ActiveWithFocusOnButton(second));

    PostMessageA(first.Window(), WM_CLOSE, 0, 0);
    std::optional<DWORD> firstExit = first.WaitForExit(ExitTimeoutMs);
    ASSERT_TRUE(firstExit.has_value()) << "the first instance did not end";
    EXPECT_EQ(*firstExit, 0u);
    EXPECT_TRUE(HoldsFor([&] { return second.Running() && IsWindowVisible(second.Window()); }, 300))
        << "closing the first instance should leave the second";

    PostMessageA(second.Window(), WM_CLOSE, 0, 0);
    std::optional<DWORD> secondExit = second.WaitForExit(ExitTimeoutMs);
    ASSERT_TRUE(secondExit.has_value()) << "the second instance did not end";
    EXPECT_EQ(*secondExit, 0u);
}

// Asked whether the session may end, the program agrees and goes on running.
class EndSession : public testing::TestWithParam<LPARAM> {};

TEST_P(EndSession, QueryIsAnsweredYesAndTheWindowStays)
{
    ProgramUnderTest program;
    ASSERT_TRUE(program.Started()) << program.StartFailure();
    DWORD_PTR answer = 0;
    ASSERT_NE(SendMessageTimeoutA(program.Window(), WM_QUERYENDSESSION, 0, GetParam(), SMTO_ABORTIFHUNG,
                                  ExitTimeoutMs, &answer), 0)
        << "no answer, error " << GetLastError();
    EXPECT_EQ(answer, 1u);
    OtherWindowsSeen others(program);
    EXPECT_TRUE(HoldsFor([&] {
        others.Look();
        return program.Running() && IsWindowVisible(program.Window());
    }, 300)) << "the window should stay";
    EXPECT_EQ(others.Describe(), "none");

    PostMessageA(program.Window(), WM_CLOSE, 0, 0);
    std::optional<DWORD> exitCode = program.WaitForExit(ExitTimeoutMs);
    ASSERT_TRUE(exitCode.has_value()) << "the program did not close after the query";
    EXPECT_EQ(*exitCode, 0u);
}

INSTANTIATE_TEST_SUITE_P(Reasons, EndSession, testing::Values(0, ENDSESSION_LOGOFF, ENDSESSION_CLOSEAPP),
                         [](const testing::TestParamInfo<LPARAM>& info) {
                             switch (info.param) {
                             case ENDSESSION_LOGOFF: return std::string("LogOff");
                             case ENDSESSION_CLOSEAPP: return std::string("CloseApp");
                             default: return std::string("ShutDown");
                             }
                         });

}  // namespace
