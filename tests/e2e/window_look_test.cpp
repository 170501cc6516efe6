// The window as another program sees it: class, texts, styles, place and colour.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/driver_options.h"
#include "tests/e2e/main_window_checks.h"
#include "tests/e2e/program_under_test.h"

namespace {

// "Quorvel专用下载器" and "点击我下载辅助 " in GBK.
const std::string TitleBytes = "Quorvel\xD7\xA8\xD3\xC3\xCF\xC2\xD4\xD8\xC6\xF7";
const std::string ButtonBytes = "\xB5\xE3\xBB\xF7\xCE\xD2\xCF\xC2\xD4\xD8\xB8\xA8\xD6\xFA ";

constexpr LONG ButtonStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER
                             | BS_VCENTER | BS_MULTILINE;

BOOL CALLBACK CollectChild(HWND child, LPARAM children)
{
    reinterpret_cast<std::vector<HWND>*>(children)->push_back(child);
    return TRUE;
}

std::string HexLong(LONG_PTR value)
{
    char text[24];
    std::snprintf(text, sizeof text, "0x%08llX", static_cast<unsigned long long>(value));
    return text;
}

class MainWindow : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(program.Started()) << program.StartFailure(); }

    ProgramUnderTest program;
};

TEST_F(MainWindow, IsAnUnownedTopLevelWindowOfItsClassWithItsTitle)
{
    HWND window = program.Window();
    EXPECT_EQ(ClassNameOf(window), MainWindowClass);
    EXPECT_EQ(Hex(TextOf(window)), Hex(TitleBytes));
    EXPECT_EQ(GetAncestor(window, GA_PARENT), GetDesktopWindow());
    // No owner and no tool-window style: the window gets its own taskbar entry.
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
    EXPECT_EQ(HexLong(GetWindowLongPtrA(window, GWL_EXSTYLE)), HexLong(WindowExStyle));
    EXPECT_TRUE(ShownNormallyAtCentre(window));
    EXPECT_EQ(program.DescribeVisibleWindows(), ClassNameOf(window) + " '" + TitleBytes + "'")
        << "the main window should be the thread's only visible window";
}

TEST_F(MainWindow, ClientAreaIsWhatTheFixedFrameLeaves)
{
    HWND window = program.Window();
    RECT client = {};
    GetClientRect(window, &client);
    RECT outer = client;
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
    EXPECT_EQ(outer.right - outer.left, WindowWidth) << "client " << Describe(client);
    EXPECT_EQ(outer.bottom - outer.top, WindowHeight) << "client " << Describe(client);
}

TEST_F(MainWindow, HasOneChildTheButton)
{
    HWND window = program.Window();
    std::vector<HWND> children;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
    ASSERT_EQ(children.size(), 1u);
    HWND button = children[0];
    EXPECT_EQ(button, program.Button()) << "the only child should have id " << ButtonId;
    EXPECT_EQ(GetDlgCtrlID(button), ButtonId);
    EXPECT_STRCASEEQ(ClassNameOf(button).c_str(), "BUTTON");
    EXPECT_EQ(Hex(TextOf(button)), Hex(ButtonBytes));
    EXPECT_EQ(HexLong(GetWindowLongPtrA(button, GWL_STYLE)), HexLong(ButtonStyle));
    EXPECT_EQ(Describe(RectInClient(button, window)), Describe(RECT{24, 16, 24 + 312, 16 + 176}));
}

// Pixels of the client area around the button show the system's button-face colour once
// the window has painted.
TEST_F(MainWindow, BackgroundIsTheButtonFaceColour)
{
    HWND window = program.Window();
    ASSERT_TRUE(ActiveWithFocusOnButton(program));
    RECT client = {};
    GetClientRect(window, &client);
    RECT button = RectInClient(program.Button(), window);
    std::vector<POINT> points = {
        {button.left / 2, client.bottom / 2},                      // left of the button
        {(button.right + client.right) / 2, client.bottom / 2},    // right of it
        {client.right / 2, (button.bottom + client.bottom) / 2},   // below it
        {client.right / 2, button.top / 2},                        // above it
    };
    for (POINT& point : points)
        ClientToScreen(window, &point);
    COLORREF expected = GetSysColor(COLOR_BTNFACE);
    HDC screen = GetDC(nullptr);
    std::vector<COLORREF> seen(points.size());
    bool allMatch = WaitFor([&] {
        for (size_t i = 0; i < points.size(); ++i)
            seen[i] = GetPixel(screen, points[i].x, points[i].y);
        for (COLORREF colour : seen) {
            if (colour != expected)
                return false;
        }
        return true;
    }, 3000);
    ReleaseDC(nullptr, screen);
    for (size_t i = 0; i < points.size(); ++i) {
        EXPECT_TRUE(allMatch) << "pixel at screen (" << points[i].x << "," << points[i].y << ") is "
                              << HexLong(seen[i]) << ", expected " << HexLong(expected);
    }
}

// The window's place on the screen of the session the test runs in.
TEST(Placement, CentredOnTheScreenAt380x250)
{
    ProgramUnderTest program;
    ASSERT_TRUE(program.Started()) << program.StartFailure();
    EXPECT_TRUE(ShownNormallyAtCentre(program.Window()))
        << "screen " << GetSystemMetrics(SM_CXSCREEN) << "x" << GetSystemMetrics(SM_CYSCREEN);
}

// The texts are GBK bytes given to the A functions; read as Unicode they are what the
// session's ANSI code page makes of them.
struct UnicodeTexts {
    unsigned codePage;
    const wchar_t* title;
    const wchar_t* button;
};

constexpr UnicodeTexts TextsByCodePage[] = {
    {936, L"Quorvel\u4E13\u7528\u4E0B\u8F7D\u5668", L"\u70B9\u51FB\u6211\u4E0B\u8F7D\u8F85\u52A9 "},
    {1252, L"Quorvel\u00D7\u00A8\u00D3\u00C3\u00CF\u00C2\u00D4\u00D8\u00C6\u00F7",
     L"\u00B5\u00E3\u00BB\u00F7\u00CE\u00D2\u00CF\u00C2\u00D4\u00D8\u00B8\u00A8\u00D6\u00FA "},
};

std::string Escaped(const std::wstring& text)
{
    std::string escaped;
    for (wchar_t c : text) {
        char unit[8];
        if (c >= 0x20 && c < 0x7F)
            std::snprintf(unit, sizeof unit, "%c", static_cast<char>(c));
        else
            std::snprintf(unit, sizeof unit, "\\u%04X", static_cast<unsigned>(c));
        escaped += unit;
    }
    return escaped;
}

TEST(Texts, AreTheSameBytesUnderTheSessionCodePage)
{
    ASSERT_EQ(GetACP(), ExpectedCodePage()) << "the session should give this driver the code page it expects";
    ProgramUnderTest program;
    ASSERT_TRUE(program.Started()) << program.StartFailure();
    EXPECT_EQ(Hex(TextOf(program.Window())), Hex(TitleBytes));
    EXPECT_EQ(Hex(TextOf(program.Button())), Hex(ButtonBytes));
}

TEST(Texts, ReadAsUnicodeFollowTheSessionCodePage)
{
    ASSERT_EQ(GetACP(), ExpectedCodePage()) << "the session should give this driver the code page it expects";
    const UnicodeTexts* expected = nullptr;
    for (const UnicodeTexts& texts : TextsByCodePage) {
        if (texts.codePage == ExpectedCodePage())
            expected = &texts;
    }
    ASSERT_NE(expected, nullptr) << "no expected texts for code page " << ExpectedCodePage();
    ProgramUnderTest program;
    ASSERT_TRUE(program.Started()) << program.StartFailure();
    EXPECT_EQ(Escaped(WideTextOf(program.Window())), Escaped(expected->title));
    EXPECT_EQ(Escaped(WideTextOf(program.Button())), Escaped(expected->button));
}

}  // namespace
