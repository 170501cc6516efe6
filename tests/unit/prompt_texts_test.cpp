// The download prompt's texts and the page launcher's command lines, as bytes.
#include <gtest/gtest.h>

#include <string>

#include "gbk.h"
#include "prompt/prompt_texts.h"
#include "prompt/web_page_launcher.h"
#include "recording_text_memory.h"

TEST(PromptTexts, AreGbkBytes)
{
    struct Case {
        const char* what;
        const char* text;
        std::string expected;
    };
    const Case cases[] = {
        {"\"先到论坛注册一个用户吧！里面有辅助哦！\"", ForumNoticeText,
         "\xCF\xC8\xB5\xBD\xC2\xDB\xCC\xB3\xD7\xA2\xB2\xE1\xD2\xBB\xB8\xF6\xD3\xC3\xBB\xA7\xB0\xC9"
         "\xA3\xA1\xC0\xEF\xC3\xE6\xD3\xD0\xB8\xA8\xD6\xFA\xC5\xB6\xA3\xA1"},
        {"\"或者加入Quorvel家族\"", GroupNoticeText,
         "\xBB\xF2\xD5\xDF\xBC\xD3\xC8\xEB\x51\x75\x6F\x72\x76\x65\x6C\xBC\xD2\xD7\xE5"},
        {"\"信息：\"", NoticeCaption, "\xD0\xC5\xCF\xA2\xA3\xBA"},
        {"the URL handler's command", UrlHandlerCommandPrefix,
         "rundll32.exe url.dll,FileProtocolHandler "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Bytes(c.text), c.expected) << c.what;
    EXPECT_EQ(Bytes(UrlHandlerCommandPrefix).size(), 41u);
}

TEST(PromptTexts, PageAddressesAreAbsoluteWebAddresses)
{
    for (const char* address : {ForumPageAddress, GroupPageAddress}) {
        std::string text(address);
        EXPECT_TRUE(text.rfind("http://", 0) == 0 || text.rfind("https://", 0) == 0) << text;
        EXPECT_EQ(text.find_first_of(" \"'"), std::string::npos) << text;
    }
}

// OpenWebPage really starts the URL handler (under the tests, Wine hands the address to
// a recording browser); the command line it built is seen when it is released.
TEST(OpenWebPage, CommandLineIsThePrefixAndTheAddressUnchanged)
{
    struct Case {
        const char* address;
        std::string commandLine;
    };
    const Case cases[] = {
        {"https://forum.quorvel.example/", "rundll32.exe url.dll,FileProtocolHandler https://forum.quorvel.example/"},
        {"", "rundll32.exe url.dll,FileProtocolHandler "},
        {nullptr, "rundll32.exe url.dll,FileProtocolHandler "},
        {"http://a.example/x y \"q\"", "rundll32.exe url.dll,FileProtocolHandler http://a.example/x y \"q\""},
        {"http://a.example/\xB5\xE3", "rundll32.exe url.dll,FileProtocolHandler http://a.example/\xB5\xE3"},
    };
    for (const Case& c : cases) {
        RecordedTextMemory() = {};
        OpenWebPage(c.address);
        const TextMemoryRecord& record = RecordedTextMemory();
        EXPECT_EQ(record.allocationSizes, std::vector<size_t>{c.commandLine.size() + 1});
        EXPECT_EQ(record.releasedTexts, std::vector<std::string>{c.commandLine});
    }
}
