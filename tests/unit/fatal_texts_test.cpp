// The texts of the fatal-error box, as GBK bytes.
#include <gtest/gtest.h>

#include "app/fatal_error.h"
#include "gbk.h"

TEST(FatalErrorTexts, AreGbkBytes)
{
    // "无法创建程序窗口，程序将退出。"
    EXPECT_EQ(Bytes(WindowFailureText), "\xCE\xDE\xB7\xA8\xB4\xB4\xBD\xA8\xB3\xCC\xD0\xF2\xB4\xB0\xBF\xDA"
                                        "\xA3\xAC\xB3\xCC\xD0\xF2\xBD\xAB\xCD\xCB\xB3\xF6\xA1\xA3");
    // "内存不足，程序将退出。"
    EXPECT_EQ(Bytes(MemoryFailureText), "\xC4\xDA\xB4\xE6\xB2\xBB\xD7\xE3\xA3\xAC\xB3\xCC\xD0\xF2\xBD\xAB"
                                        "\xCD\xCB\xB3\xF6\xA1\xA3");
    // "Quorvel专用下载器"
    EXPECT_EQ(Bytes(FatalErrorCaption), "\x51\x75\x6F\x72\x76\x65\x6C\xD7\xA8\xD3\xC3\xCF\xC2\xD4\xD8\xC6\xF7");
}
