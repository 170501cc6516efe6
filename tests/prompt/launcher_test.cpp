// RunCommandLine against real programs: the exact command line and start settings, a
// program that cannot be found, and the settling wait.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "prompt/web_page_launcher.h"

namespace {

// The folder of this test program, where the test programs lie.
std::string TestFolder()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

DWORD HandleCount()
{
    DWORD count = 0;
    GetProcessHandleCount(GetCurrentProcess(), &count);
    return count;
}

// Runs the command line and returns how long RunCommandLine took, in milliseconds.
DWORD TimedRun(const std::string& program, std::string commandLine, bool* started)
{
    DWORD begin = GetTickCount();
    *started = RunCommandLine(program.c_str(), &commandLine[0]);
    return GetTickCount() - begin;
}

std::string ReadWhenThere(const std::string& path)
{
    for (DWORD deadline = GetTickCount() + 5000; GetTickCount() < deadline; Sleep(20)) {
        std::ifstream file(path, std::ios::binary);
        if (file) {
            std::stringstream text;
            text << file.rdbuf();
            return text.str();
        }
    }
    return "";
}

}  // namespace

TEST(RunCommandLine, StartsTheProgramWithTheCommandLineUnchangedAndShownNormally)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string work = std::string(folder) + "launcher-test-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(work.c_str(), nullptr));
    ASSERT_TRUE(SetCurrentDirectoryA(work.c_str()));

    // Blanks, quotes and GBK bytes reach the program as they are.
    const std::string commandLine = "start_recorder.exe url.dll,FileProtocolHandler http://a.example/x y \"q\" \xB5\xE3";
    bool started = false;
    TimedRun(TestFolder() + "start_recorder.exe", commandLine, &started);
    EXPECT_TRUE(started);
    std::string recorded = ReadWhenThere(work + "\\recorded-start.txt");
    EXPECT_EQ(recorded, commandLine + "\n" + std::to_string(STARTF_USESHOWWINDOW) + "\n" +
                            std::to_string(SW_SHOWNORMAL) + "\n");

    DeleteFileA((work + "\\recorded-start.txt").c_str());
    SetCurrentDirectoryA(folder);
    RemoveDirectoryA(work.c_str());
}

TEST(RunCommandLine, AProgramThatCannotBeFoundGivesFalseAndClosesNothing)
{
    DWORD before = HandleCount();
    bool started = true;
    DWORD took = TimedRun(TestFolder() + "no-such-program.exe", "no-such-program.exe x", &started);
    EXPECT_FALSE(started);
    EXPECT_LT(took, 500u) << "no settling wait without a process";
    EXPECT_EQ(HandleCount(), before);
}

// Both handles of the started process are closed. Wine itself keeps a handle for each
// WaitForInputIdle on a new process, so the expected growth is measured first with the
// same calls made by hand.
TEST(RunCommandLine, ClosesBothHandlesOfTheStartedProcess)
{
    std::string program = TestFolder() + "settle_program.exe";
    DWORD before = HandleCount();
    {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process;
        std::string commandLine = "settle_program.exe idle";
        ASSERT_TRUE(CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &process));
        WaitForInputIdle(process.hProcess, 1000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    DWORD systemKept = HandleCount() - before;
    EXPECT_LE(systemKept, 1u);

    before = HandleCount();
    bool started = false;
    TimedRun(program, "settle_program.exe idle", &started);
    EXPECT_TRUE(started);
    EXPECT_EQ(HandleCount() - before, systemKept);
}

TEST(RunCommandLine, WaitsUntilTheProgramIsIdleButNoLongerThanASecond)
{
    std::string program = TestFolder() + "settle_program.exe";
    bool started = false;
    DWORD idle = TimedRun(program, "settle_program.exe idle", &started);
    EXPECT_TRUE(started);
    EXPECT_LT(idle, 700u) << "a program idle at once";

    DWORD busy = TimedRun(program, "settle_program.exe busy", &started);
    EXPECT_TRUE(started);
    EXPECT_GE(busy, 950u) << "a program that never becomes idle";
    EXPECT_LT(busy, 1500u) << "a program that never becomes idle";
}
