// Runs the end-to-end tests. Besides GoogleTest's own flags it takes
//   --program=PATH       the program to test (default: ..\quorvel-downloader.exe)
//   --code-page=N        the ANSI code page this run expects (default 1252)
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/e2e/driver_options.h"
#include "tests/e2e/program_under_test.h"

namespace {

unsigned expectedCodePage = 1252;

}  // namespace

unsigned ExpectedCodePage() { return expectedCodePage; }

// The first program of a session that needs the desktop starts Wine's desktop process;
// should that process have ended, starting it again takes about ten seconds here. It is
// done once, before the tests and their deadlines, and the time is shown.
class DesktopReady : public testing::Environment {
public:
    void SetUp() override
    {
        DWORD start = GetTickCount();
        HWND desktop = GetDesktopWindow();
        std::printf("desktop window %p ready after %lu ms\n", static_cast<void*>(desktop), GetTickCount() - start);
    }
};

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strncmp(argument, "--program=", 10) == 0) {
            const char* path = argument + 10;
            int length = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
            std::wstring wide(length > 0 ? length - 1 : 0, L'\0');
            MultiByteToWideChar(CP_ACP, 0, path, -1, &wide[0], length);
            SetProgramPath(wide);
        } else if (std::strncmp(argument, "--code-page=", 12) == 0) {
            expectedCodePage = static_cast<unsigned>(std::strtoul(argument + 12, nullptr, 10));
        } else {
            std::fprintf(stderr, "unknown argument: %s\n", argument);
            return 2;
        }
    }
    testing::AddGlobalTestEnvironment(new DesktopReady);
    return RUN_ALL_TESTS();
}
