// The download prompt when things fail: no URL handler, planted copies of rundll32.exe,
// and no memory for the command line.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "tests/prompt/prompt_driver.h"

namespace {

// Moves a file aside for the life of the object.
class FileMovedAside {
public:
    explicit FileMovedAside(std::string path) : path_(std::move(path)), aside_(path_ + ".aside")
    {
        moved_ = MoveFileA(path_.c_str(), aside_.c_str()) != FALSE;
    }
    ~FileMovedAside()
    {
        if (moved_)
            MoveFileA(aside_.c_str(), path_.c_str());
    }
    bool Moved() const { return moved_; }

private:
    std::string path_;
    std::string aside_;
    bool moved_;
};

std::string SystemFolder()
{
    char path[MAX_PATH];
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    return std::string(path, length);
}

// A fresh folder under the temporary folder, removed with what it holds.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name)
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + name + "-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchFolder()
    {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do
                DeleteFileA((path_ + "\\" + found.cFileName).c_str());
            while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(path_.c_str());
    }
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());  // the paths here are ASCII
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

// Without the URL handler both notices still come, in order, and nothing else is shown.
TEST(PromptFailures, NoUrlHandlerLeavesTheNoticesAsTheyAre)
{
    FileMovedAside handler(SystemFolder() + "\\rundll32.exe");
    ASSERT_TRUE(handler.Moved()) << "could not move the system's rundll32.exe aside";
    BrowserLog log;
    ProgramUnderTest program;
    ASSERT_TRUE(program.Started()) << program.StartFailure();
    ClickButton(program);
    HWND forum = WaitForBox(program);
    ExpectNotice(forum, ForumNotice);
    PressOk(forum);
    HWND group = WaitForAnotherBox(program, forum);
    ExpectNotice(group, GroupNotice);
    PressOk(group);
    ASSERT_TRUE(WaitUntilGone(group));
    EXPECT_TRUE(HoldsFor([&] { return NoBoxShown(program); }, 700)) << program.DescribeVisibleWindows();
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_TRUE(program.Running());
}

// Copies of rundll32.exe beside the program and in its current folder are never run: the
// program starts the system's own, which hands both pages to the browser.
TEST(PromptFailures, PlantedCopiesOfTheUrlHandlerAreNotRun)
{
    ScratchFolder downloads("planted-beside");
    ScratchFolder current("planted-current");
    std::string here = TestFolder();
    ASSERT_TRUE(CopyFileA(WideToAnsi(ProgramPath()).c_str(), downloads.File("quorvel-downloader.exe").c_str(), FALSE));
    // The planted copies record their start in the folder they are started in.
    ASSERT_TRUE(CopyFileA((here + "start_recorder.exe").c_str(), downloads.File("rundll32.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((here + "start_recorder.exe").c_str(), current.File("rundll32.exe").c_str(), FALSE));

    BrowserLog log;
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(current.Path().c_str()));
    {
        StartOptions options;
        options.program = Wide(downloads.File("quorvel-downloader.exe"));
        ProgramUnderTest program(options);
        SetCurrentDirectoryA(previous);
        ASSERT_TRUE(program.Started()) << program.StartFailure();
        ClickButton(program);
        RunSequence(program, log, 0);
        EXPECT_EQ(log.Lines(), (std::vector<std::string>{ForumPage, GroupPage}));
        EXPECT_FALSE(Exists(current.File("recorded-start.txt"))) << "the copy in the current folder ran";
        EXPECT_FALSE(Exists(downloads.File("recorded-start.txt"))) << "the copy beside the program ran";
    }
}

// With no memory for the command line the program says so and ends with 0xFFFFFFFF,
// after the first notice and before any page opens.
TEST(PromptFailures, NoMemoryForTheCommandLineEndsTheProgram)
{
    BrowserLog log;
    StartOptions options;
    options.program = Wide(TestFolder() + "out_of_memory_program.exe");
    ProgramUnderTest program(options);
    ASSERT_TRUE(program.Started()) << program.StartFailure();
    ClickButton(program);
    HWND forum = WaitForBox(program);
    ExpectNotice(forum, ForumNotice);
    PressOk(forum);
    HWND failure = WaitForAnotherBox(program, forum);
    ExpectFatalErrorBox(failure, MemoryFailure);
    EXPECT_FALSE(IsWindowEnabled(program.Window())) << "the window takes input during the error box";
    PressOk(failure);
    EXPECT_EQ(program.WaitForExit(5000), 0xFFFFFFFFu);
    EXPECT_TRUE(log.Lines().empty());
}

// The program's own text memory, asked for more than the address space, takes the same
// way out.
TEST(PromptFailures, TheHeapRefusingATextEndsTheProgram)
{
    StartOptions options;
    options.program = Wide(TestFolder() + "huge_text_program.exe");
    options.waitForMainWindow = false;
    ProgramUnderTest program(options);
    HWND failure = WaitForBox(program);
    ExpectFatalErrorBox(failure, MemoryFailure);
    PressOk(failure);
    EXPECT_EQ(program.WaitForExit(5000), 0xFFFFFFFFu);
}
