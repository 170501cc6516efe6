// The download prompt end to end: the real program under Wine, clicked and keyed as a user
// does, its notices read and closed from outside, and the pages it opens seen by the
// session's recording browser, through the system's own URL handler.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/prompt/prompt_driver.h"

// A fresh program, with the browser's log emptied before it starts.
class DownloadPrompt : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(program.Started()) << program.StartFailure(); }

    BrowserLog log;
    ProgramUnderTest program;
};

TEST_F(DownloadPrompt, AClickShowsEachNoticeBeforeItsPageInOrder)
{
    ClickButton(program);

    HWND forum = WaitForBox(program);
    ExpectNotice(forum, ForumNotice);
    EXPECT_FALSE(IsWindowEnabled(program.Window())) << "the main window takes input during the notice";
    EXPECT_TRUE(HoldsFor([&] { return log.Lines().empty(); }, 500)) << "a page opened before the notice closed";
    PressOk(forum);

    // The browser gets each page a moment after the URL handler has settled.
    HWND group = WaitForAnotherBox(program, forum);
    ExpectNotice(group, GroupNotice);
    EXPECT_FALSE(IsWindowEnabled(program.Window()));
    log.WaitForLines(1);
    EXPECT_TRUE(HoldsFor([&] { return log.Lines().size() == 1; }, 500)) << "the group page opened before its notice closed";
    EXPECT_EQ(log.Lines(), std::vector<std::string>{ForumPage});
    PressOk(group);

    ASSERT_TRUE(log.WaitForLines(2));
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{ForumPage, GroupPage}));
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(program.Window()) && NoBoxShown(program); }, 3000))
        << "after the sequence: " << program.DescribeVisibleWindows();
    EXPECT_TRUE(program.Running());
}

TEST_F(DownloadPrompt, TheSpaceBarAloneStartsTheSequence)
{
    ASSERT_TRUE(MakeForeground(program.Window()));
    PressKeys({VK_SPACE});
    ExpectNotice(WaitForBox(program), ForumNotice);
    RunSequence(program, log, 0);
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{ForumPage, GroupPage}));
}

// However the first notice is closed, the forum page opens and the sequence goes on.
TEST(DownloadPromptClosing, ClosingTheFirstNoticeAnyWayOpensTheForumPage)
{
    struct Case {
        const char* how;
        void (*close)(HWND box);
    };
    const Case cases[] = {
        {"OK", PressOk},
        {"Esc", [](HWND box) {
             MakeForeground(box);
             PressKeys({VK_ESCAPE});
         }},
        {"the close box", [](HWND box) { PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        BrowserLog log;
        ProgramUnderTest program;
        ASSERT_TRUE(program.Started()) << program.StartFailure();
        ClickButton(program);
        HWND forum = WaitForBox(program);
        ASSERT_NE(forum, nullptr);
        c.close(forum);
        ASSERT_TRUE(log.WaitForLines(1)) << "no page after closing the notice";
        EXPECT_EQ(log.Lines(), std::vector<std::string>{ForumPage});
        HWND group = WaitForBox(program);
        ExpectNotice(group, GroupNotice);
        PressOk(group);
        ASSERT_TRUE(log.WaitForLines(2));
    }
}

TEST_F(DownloadPrompt, ClicksOnTheWindowDuringANoticeChangeNothing)
{
    ClickButton(program);
    HWND forum = WaitForBox(program);
    ASSERT_NE(forum, nullptr);
    ClickAt(CentreOf(program.Button()));
    ClickAt(CentreOf(program.Button()));
    EXPECT_TRUE(HoldsFor([&] { return log.Lines().empty() && WaitForBox(program, 0) == forum; }, 700))
        << "windows: " << program.DescribeVisibleWindows();
    EXPECT_TRUE(IsWindowVisible(forum));
    PressOk(forum);
    HWND group = WaitForAnotherBox(program, forum);
    PressOk(group);
    ASSERT_TRUE(log.WaitForLines(2));
    EXPECT_TRUE(HoldsFor([&] { return NoBoxShown(program); }, 700)) << "a second sequence started";
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{ForumPage, GroupPage}));
}

TEST_F(DownloadPrompt, TwoClicksGiveTwoWholeSequences)
{
    for (int click = 0; click < 2; ++click) {
        ClickButton(program);
        RunSequence(program, log, 2 * click);
        ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(program.Window()); }, 3000));
    }
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{ForumPage, GroupPage, ForumPage, GroupPage}));
}
