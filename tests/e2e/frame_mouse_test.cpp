// The fixed frame against real mouse input: a double-click on the title bar and drags on
// the frame change neither the window's size nor its place. Each gesture is first given
// to a sizable, maximizable window of the driver's own at the same place, which it must
// change: that shows that the gesture reaches a frame at all in this session.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/main_window_checks.h"
#include "tests/e2e/program_under_test.h"
#include "tests/e2e/user_input.h"

namespace {

// The middle of a window's title bar, in screen coordinates.
POINT CaptionCentre(HWND window)
{
    RECT outer = WindowRect(window);
    POINT clientOrigin = {0, 0};
    ClientToScreen(window, &clientOrigin);
    return {(outer.left + outer.right) / 2, (outer.top + clientOrigin.y) / 2};
}

struct FrameGesture {
    const char* name;
    // The point where the gesture starts, given the window's outer rectangle; two pixels
    // in from an edge lie on the frame of a fixed or a sizable window alike.
    POINT (*start)(const RECT& outer);
    SIZE drag;  // for a drag; 0x0 for a double-click on the title bar
};

void PrintTo(const FrameGesture& gesture, std::ostream* out) { *out << gesture.name; }

const FrameGesture Gestures[] = {
    {"DoubleClickTitleBar", nullptr, {0, 0}},
    {"DragRightEdge", [](const RECT& r) { return POINT{r.right - 2, (r.top + r.bottom) / 2}; }, {60, 0}},
    {"DragLeftEdge", [](const RECT& r) { return POINT{r.left + 2, (r.top + r.bottom) / 2}; }, {-60, 0}},
    {"DragBottomEdge", [](const RECT& r) { return POINT{(r.left + r.right) / 2, r.bottom - 2}; }, {0, 50}},
    {"DragBottomRightCorner", [](const RECT& r) { return POINT{r.right - 2, r.bottom - 2}; }, {60, 50}},
};

void Perform(const FrameGesture& gesture, HWND window)
{
    if (!gesture.start) {
        DoubleClickAt(CaptionCentre(window));
        return;
    }
    POINT from = gesture.start(WindowRect(window));
    DragWithLeftButton(from, {from.x + gesture.drag.cx, from.y + gesture.drag.cy});
}

bool InMoveOrSize(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return (info.flags & GUI_INMOVESIZE) != 0;
}

// A sizable window with a maximize box, with a thread of its own: a drag on its frame
// runs a loop of its own there while this thread gives the input.
class SizableWindow {
public:
    explicit SizableWindow(const RECT& place) : place_(place)
    {
        ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Run, this, 0, &threadId_);
        WaitForSingleObject(ready_, 5000);
    }
    ~SizableWindow()
    {
        PostMessageA(handle_, WM_CLOSE, 0, 0);
        WaitForSingleObject(thread_, 5000);
        CloseHandle(thread_);
        CloseHandle(ready_);
    }
    SizableWindow(const SizableWindow&) = delete;
    SizableWindow& operator=(const SizableWindow&) = delete;

    HWND Handle() const { return handle_; }

private:
    static DWORD WINAPI Run(void* parameter)
    {
        auto* self = static_cast<SizableWindow*>(parameter);
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = WindowProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.lpszClassName = "E2eSizableWindow";
        RegisterClassA(&windowClass);
        const RECT& place = self->place_;
        self->handle_ = CreateWindowExA(0, windowClass.lpszClassName, "sizable", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                        place.left, place.top, place.right - place.left, place.bottom - place.top,
                                        nullptr, nullptr, windowClass.hInstance, nullptr);
        SetEvent(self->ready_);
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        return 0;
    }

    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_DESTROY)
            PostQuitMessage(0);
        return DefWindowProcA(window, message, wParam, lParam);
    }

    RECT place_;
    HWND handle_ = nullptr;  // destroyed by WM_CLOSE, which also ends the thread
    HANDLE ready_;
    HANDLE thread_;
    DWORD threadId_ = 0;
};

class FixedFrame : public testing::TestWithParam<FrameGesture> {};

TEST_P(FixedFrame, KeepsSizeAndPlaceUnderTheGesture)
{
    RECT place;
    ASSERT_TRUE(ExpectedWindowRect(place));
    {
        SizableWindow sizable(place);
        HWND window = sizable.Handle();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(MakeForeground(window));
        const RECT before = WindowRect(window);
        Perform(GetParam(), window);
        // Changed, and out of the size or move loop, which ends with the button's release.
        ASSERT_TRUE(WaitFor([&] {
            return (IsZoomed(window) || !SameRect(WindowRect(window), before)) && !InMoveOrSize(window);
        }, 3000))
            << "the gesture did not change a sizable window at " << Describe(before)
            << "; mouse input does not reach the frame here";
    }

    ProgramUnderTest program;
    ASSERT_TRUE(program.Started()) << program.StartFailure();
    ASSERT_TRUE(ActiveWithFocusOnButton(program));
    const RECT before = WindowRect(program.Window());
    Perform(GetParam(), program.Window());
    bool unchanged = HoldsFor([&] {
        return program.Running() && !IsZoomed(program.Window()) && SameRect(WindowRect(program.Window()), before);
    }, 400);
    EXPECT_TRUE(unchanged) << (program.Running() ? "" : "the program ended; ") << "rectangle "
                           << Describe(WindowRect(program.Window())) << ", expected " << Describe(before)
                           << (IsZoomed(program.Window()) ? ", maximized" : "");
    ASSERT_TRUE(unchanged);

    // Esc, queued behind the mouse input, still closes: the gesture was taken and left no
    // size or move loop running.
    ASSERT_TRUE(ActiveWithFocusOnButton(program));
    PressKeys({VK_ESCAPE});
    std::optional<DWORD> exitCode = program.WaitForExit(5000);
    ASSERT_TRUE(exitCode.has_value()) << "Esc after the gesture did not end the program";
    EXPECT_EQ(*exitCode, 0u);
}

INSTANTIATE_TEST_SUITE_P(Mouse, FixedFrame, testing::ValuesIn(Gestures),
                         [](const testing::TestParamInfo<FrameGesture>& info) { return std::string(info.param.name); });

}  // namespace
