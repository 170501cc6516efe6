// The window definitions: lookup by identifier, the records' values and their text bytes.
#include <gtest/gtest.h>

#include "gbk.h"
#include "prompt/download_prompt.h"
#include "ui/main_window_definition.h"

TEST(WindowDefinitions, LookupByIdentifier)
{
    EXPECT_EQ(FindWindowDefinition(0x52010001), &MainWindowDefinition);
    for (DWORD unknown : {0x0u, 0x52010000u, 0x52010002u, 0xFFFFFFFFu})
        EXPECT_EQ(FindWindowDefinition(unknown), nullptr) << std::hex << unknown;
}

TEST(WindowDefinitions, ControlsAreNumberedFrom100InStepsOf10)
{
    EXPECT_EQ(ControlIdentifier(0), 100);
    EXPECT_EQ(ControlIdentifier(1), 110);
    EXPECT_EQ(ControlIdentifier(2), 120);
}

TEST(WindowDefinitions, MainWindowRecord)
{
    const WindowDefinition& window = MainWindowDefinition;
    EXPECT_EQ(window.identifier, 0x52010001u);
    EXPECT_EQ(window.left, 50);
    EXPECT_EQ(window.top, 50);
    EXPECT_EQ(window.width, 380);
    EXPECT_EQ(window.height, 250);
    // Fixed frame with caption and close box; neither sizable nor minimizable nor maximizable.
    EXPECT_EQ(window.style, 0x02C80000u);
    EXPECT_TRUE(window.closesOnEscape);
    ASSERT_EQ(window.controlCount, 1);
    EXPECT_EQ(window.controls[0], &DownloadButton);
}

TEST(WindowDefinitions, DownloadButtonRecord)
{
    const ControlDefinition& button = DownloadButton;
    EXPECT_STREQ(button.className, "BUTTON");
    EXPECT_EQ(button.left, 24);
    EXPECT_EQ(button.top, 16);
    EXPECT_EQ(button.width, 312);
    EXPECT_EQ(button.height, 176);
    EXPECT_EQ(button.style, DWORD(WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER
                                  | BS_VCENTER | BS_MULTILINE));
    EXPECT_EQ(button.style & (WS_VISIBLE | WS_DISABLED | BS_DEFPUSHBUTTON | BS_OWNERDRAW), 0u);
    EXPECT_TRUE(button.visible);
    EXPECT_EQ(button.tabOrder, 0);
    EXPECT_EQ(button.onClick, &OnDownloadButtonClicked) << "the one routine bound in the definitions";
}

// Every text of the definitions, against the GBK encoding of its readable form.
TEST(WindowDefinitions, TextsAreGbkBytes)
{
    struct Case {
        const char* what;
        const char* text;
        std::string expected;
    };
    const Case cases[] = {
        {"title \"Quorvel专用下载器\"", MainWindowDefinition.title,
         "\x51\x75\x6F\x72\x76\x65\x6C\xD7\xA8\xD3\xC3\xCF\xC2\xD4\xD8\xC6\xF7"},
        {"caption \"点击我下载辅助 \"", DownloadButton.caption,
         "\xB5\xE3\xBB\xF7\xCE\xD2\xCF\xC2\xD4\xD8\xB8\xA8\xD6\xFA\x20"},
        {"name \"按钮1\"", DownloadButton.name, "\xB0\xB4\xC5\xA5\x31"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Bytes(c.text), c.expected) << c.what;
}
