#include "tests/e2e/main_window_checks.h"

namespace {

struct ScreenPlacement {
    int screenWidth;
    int screenHeight;
    int left;
    int top;
};

// Centred on the whole screen, halves truncated.
constexpr ScreenPlacement Placements[] = {
    {1920, 1080, 770, 415},
    {1366, 768, 493, 259},
    {1365, 768, 492, 259},
};

std::string HexLong(LONG value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
    return text;
}

}  // namespace

testing::AssertionResult ExpectedWindowRect(RECT& rect)
{
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    for (const ScreenPlacement& placement : Placements) {
        if (placement.screenWidth == width && placement.screenHeight == height) {
            rect = {placement.left, placement.top, placement.left + WindowWidth, placement.top + WindowHeight};
            return testing::AssertionSuccess();
        }
    }
    return testing::AssertionFailure() << "no expected placement for a " << width << "x" << height << " screen";
}

testing::AssertionResult ShownNormallyAtCentre(HWND window)
{
    RECT expected;
    if (testing::AssertionResult known = ExpectedWindowRect(expected); !known)
        return known;
    LONG style = static_cast<LONG>(GetWindowLongPtrA(window, GWL_STYLE));
    RECT actual = WindowRect(window);
    std::string wrong;
    if (style != ShownWindowStyle)
        wrong += ", style " + HexLong(style) + " (expected " + HexLong(ShownWindowStyle) + ")";
    if (IsIconic(window))
        wrong += ", minimized";
    if (IsZoomed(window))
        wrong += ", maximized";
    if (!SameRect(actual, expected))
        wrong += ", rectangle " + Describe(actual) + " (expected " + Describe(expected) + ")";
    if (!wrong.empty())
        return testing::AssertionFailure() << wrong.substr(2);
    return testing::AssertionSuccess();
}

testing::AssertionResult ActiveWithFocusOnButton(const ProgramUnderTest& program)
{
    HWND button = program.Button();
    if (WaitFor([&] { return GetForegroundWindow() == program.Window() && program.Focus() == button; }, 3000))
        return testing::AssertionSuccess();
    HWND foreground = GetForegroundWindow();
    HWND focus = program.Focus();
    return testing::AssertionFailure()
        << "foreground " << foreground << " (" << ClassNameOf(foreground) << "), program's focus " << focus
        << " (" << ClassNameOf(focus) << " id " << (focus ? GetDlgCtrlID(focus) : 0) << "); expected window "
        << program.Window() << " and button " << button;
}
