// The text routines: TextLength's word-at-a-time scan and JoinTexts's single allocation.
#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <string>

#include "prompt/texts.h"
#include "recording_text_memory.h"

namespace {

size_t PlainLength(const char* text)
{
    size_t length = 0;
    while (text[length] != '\0')
        ++length;
    return length;
}

// A byte that is never NUL, high bytes included: they make the word test report a
// possible zero where there is none.
char NonZeroByte(std::mt19937& random) { return char(1 + random() % 255); }

}  // namespace

TEST(TextLength, AbsentAndEmpty)
{
    EXPECT_EQ(TextLength(nullptr), 0u);
    EXPECT_EQ(TextLength(""), 0u);
}

TEST(TextLength, EveryAlignmentAndNulPositionWithinThreeWords)
{
    std::mt19937 random(1);
    alignas(4) char buffer[32];
    const char fillers[] = {'a', '\x80', '\xFF', '\x01'};
    for (char filler : fillers) {
        for (size_t start = 0; start < 4; ++start) {
            for (size_t nul = 0; nul < 12; ++nul) {
                for (char& byte : buffer)
                    byte = filler == '\x01' ? NonZeroByte(random) : filler;
                buffer[start + nul] = '\0';
                EXPECT_EQ(TextLength(buffer + start), nul)
                    << "start " << start << ", NUL at " << nul << ", filler " << int(filler);
            }
        }
    }
}

TEST(TextLength, LongRandomTexts)
{
    std::mt19937 random(2);
    std::string buffer(5000, 'x');
    for (int round = 0; round < 500; ++round) {
        size_t start = random() % 4;
        size_t length = random() % 4096;
        for (size_t i = 0; i < start + length + 8 && i < buffer.size(); ++i)
            buffer[i] = NonZeroByte(random);
        buffer[start + length] = '\0';
        ASSERT_EQ(TextLength(&buffer[start]), PlainLength(&buffer[start])) << "round " << round;
    }
}

// A text whose NUL is the last byte before a page that cannot be read: the scan must stay
// within the aligned word that holds the NUL, or the test crashes.
TEST(TextLength, StopsAtTheWordOfTheNulBeforeAnUnreadablePage)
{
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const size_t page = system.dwPageSize;
    char* block = static_cast<char*>(VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(block, nullptr);
    DWORD old;
    ASSERT_TRUE(VirtualProtect(block + page, page, PAGE_NOACCESS, &old));
    char* end = block + page;  // the first unreadable byte
    for (size_t length = 0; length < 40; ++length) {
        char* text = end - 1 - length;
        for (size_t i = 0; i < length; ++i)
            text[i] = char('A' + i % 26);
        text[length] = '\0';
        EXPECT_EQ(TextLength(text), length) << "length " << length;
    }
    VirtualFree(block, 0, MEM_RELEASE);
}

class JoinTextsTest : public testing::Test {
protected:
    void SetUp() override { RecordedTextMemory() = {}; }

    // Joins, checks the single allocation of exactly the size needed, and releases.
    template <size_t Count>
    std::string Join(const char* const (&texts)[Count])
    {
        char* joined = JoinTexts(texts);
        std::string result(joined);
        for (const char* text : texts)
            EXPECT_NE(joined, text) << "a new text, not one of the given ones";
        EXPECT_EQ(RecordedTextMemory().allocationSizes, std::vector<size_t>{result.size() + 1});
        ReleaseText(joined);
        return result;
    }
};

TEST_F(JoinTextsTest, JoinsInOrderWithOneExactAllocation)
{
    EXPECT_EQ(Join({"rundll32.exe ", "http://a.example/"}), "rundll32.exe http://a.example/");
    SetUp();
    EXPECT_EQ(Join({"a", "bc", "def", "g"}), "abcdefg");
    SetUp();
    EXPECT_EQ(Join({"only"}), "only");
}

TEST_F(JoinTextsTest, AbsentAndEmptyTextsAddNothing)
{
    EXPECT_EQ(Join({nullptr, "x", "", "y", nullptr}), "xy");
    SetUp();
    EXPECT_EQ(Join({"\xB5\xE3", nullptr, "\xBB\xF7"}), "\xB5\xE3\xBB\xF7");
}

TEST_F(JoinTextsTest, AllEmptyOrAbsentGiveANewEmptyText)
{
    EXPECT_EQ(Join({""}), "");
    SetUp();
    EXPECT_EQ(Join({nullptr}), "");
    SetUp();
    EXPECT_EQ(Join({nullptr, "", nullptr}), "");
}
