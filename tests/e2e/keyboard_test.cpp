// The keyboard focus and the keys a user presses in the window, given as real input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/main_window_checks.h"
#include "tests/e2e/program_under_test.h"
#include "tests/e2e/user_input.h"

namespace {

// A window of the driver's own, to switch away to.
class OtherWindow {
public:
    OtherWindow()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "E2eOtherWindow";
        RegisterClassA(&windowClass);
        handle = CreateWindowExA(0, windowClass.lpszClassName, "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                 300, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    }
    ~OtherWindow() { DestroyWindow(handle); }
    OtherWindow(const OtherWindow&) = delete;
    OtherWindow& operator=(const OtherWindow&) = delete;

    HWND handle;
};

class Focus : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(program.Started()) << program.StartFailure(); }

    ProgramUnderTest program;
};

TEST_F(Focus, IsOnTheButtonAtStart)
{
    EXPECT_TRUE(ActiveWithFocusOnButton(program));
}

// Away to another program's window and back, once by the system's switch and once by a
// click on the window's title bar.
TEST_F(Focus, ReturnsToTheButtonAfterSwitchingAwayAndBack)
{
    ASSERT_TRUE(ActiveWithFocusOnButton(program));
    OtherWindow other;
    ASSERT_NE(other.handle, nullptr);

    ASSERT_TRUE(MakeForeground(other.handle)) << "foreground " << GetForegroundWindow();
    ASSERT_TRUE(MakeForeground(program.Window())) << "foreground " << GetForegroundWindow();
    EXPECT_TRUE(ActiveWithFocusOnButton(program)) << "after switching back";

    ASSERT_TRUE(MakeForeground(other.handle)) << "foreground " << GetForegroundWindow();
    RECT window = WindowRect(program.Window());
    POINT clientOrigin = {0, 0};
    ClientToScreen(program.Window(), &clientOrigin);
    ClickAt({(window.left + window.right) / 2, (window.top + clientOrigin.y) / 2});
    EXPECT_TRUE(ActiveWithFocusOnButton(program)) << "after a click on the title bar";
    EXPECT_EQ(Describe(WindowRect(program.Window())), Describe(window)) << "the click should not move the window";
}

// Keys that leave the window open as it is, the focus on the button: the tab keys, which
// find no other control to move to; Enter, which finds no default button; Alt with a
// letter or digit, which the caption marks as no mnemonic; and Esc with a modifier,
// which is not the plain Esc that closes.
struct KeyCase {
    const char* name;
    std::vector<WORD> keys;
};

void PrintTo(const KeyCase& key, std::ostream* out) { *out << key.name; }

class KeysLeaveTheWindow : public testing::TestWithParam<KeyCase> {};

TEST_P(KeysLeaveTheWindow, OpenWithTheFocusOnTheButton)
{
    ProgramUnderTest program;
    ASSERT_TRUE(program.Started()) << program.StartFailure();
    ASSERT_TRUE(ActiveWithFocusOnButton(program));
    const RECT before = WindowRect(program.Window());

    PressKeys(GetParam().keys);

    // Nothing is to happen, so watch for a while that nothing does.
    bool unchanged = HoldsFor([&] {
        return program.Running() && IsWindowVisible(program.Window()) && program.VisibleWindows().size() == 1
            && GetForegroundWindow() == program.Window() && program.Focus() == program.Button()
            && SameRect(WindowRect(program.Window()), before);
    }, 400);
    EXPECT_TRUE(unchanged) << (program.Running() ? "running" : "ended") << "; visible windows of the thread: "
                           << program.DescribeVisibleWindows() << "; rectangle " << Describe(WindowRect(program.Window()))
                           << "; foreground " << GetForegroundWindow() << ", focus " << program.Focus();
    ASSERT_TRUE(unchanged);

    // Esc, queued behind the keys, still closes: the keys were taken and left no mode
    // (a menu, a box) that would have eaten it.
    PressKeys({VK_ESCAPE});
    std::optional<DWORD> exitCode = program.WaitForExit(5000);
    ASSERT_TRUE(exitCode.has_value()) << "Esc after the keys did not end the program; visible windows: "
                                      << program.DescribeVisibleWindows();
    EXPECT_EQ(*exitCode, 0u);
}

INSTANTIATE_TEST_SUITE_P(Keys, KeysLeaveTheWindow, testing::Values(
    KeyCase{"Tab", {VK_TAB}},
    KeyCase{"ShiftTab", {VK_SHIFT, VK_TAB}},
    KeyCase{"Enter", {VK_RETURN}},
    KeyCase{"AltA", {VK_MENU, 'A'}},
    KeyCase{"AltD", {VK_MENU, 'D'}},
    KeyCase{"AltQ", {VK_MENU, 'Q'}},
    KeyCase{"Alt1", {VK_MENU, '1'}},
    KeyCase{"CtrlEsc", {VK_CONTROL, VK_ESCAPE}},
    KeyCase{"ShiftEsc", {VK_SHIFT, VK_ESCAPE}},
    KeyCase{"AltEsc", {VK_MENU, VK_ESCAPE}}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

}  // namespace
