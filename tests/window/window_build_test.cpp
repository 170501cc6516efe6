// The main window as the program builds it, checked from inside the process: its class,
// icons, fonts, place and style, the button, painting, focus, the keyboard rules as the
// window applies them, and the end of the message loop once the window is gone.
//
// The window is built once per process, before the first test, and shared by all of them.
// The last suite closes it, so the tests run in the order they are written here.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/message_loop.h"
#include "app/startup_window.h"
#include "prompt/prompt_texts.h"
#include "ui/main_window_definition.h"
#include "ui/program_icons.h"
#include "ui/program_window.h"

namespace {

constexpr char ProgramWindowClass[] = "QuorvelDownloaderWindow";
constexpr int ButtonId = 100;
constexpr int WindowWidth = 380;
constexpr int WindowHeight = 250;
constexpr RECT ButtonInClient = {24, 16, 336, 192};

std::string Hex(ULONG_PTR value)
{
    char text[24];
    std::snprintf(text, sizeof text, "0x%08llX", static_cast<unsigned long long>(value));
    return text;
}

std::string RectText(const RECT& r)
{
    char text[64];
    std::snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
    return text;
}

std::string ColourText(COLORREF c)
{
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// Handles the thread's messages until `done` holds or the time is up; true if it held.
template <typename Condition>
bool PumpUntil(Condition done, DWORD timeoutMs = 3000)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done())
            return true;
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs)
            return false;
        DWORD wait = timeoutMs - elapsed < 20 ? timeoutMs - elapsed : 20;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
    }
}

// Handles what is queued now, and what arrives within a short moment.
void Flush()
{
    PumpUntil([] { return false; }, 50);
}

BOOL CALLBACK AddWindow(HWND window, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// The top-level windows of this thread.
std::vector<HWND> WindowsOfThread()
{
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), AddWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// The window that LoadStartupWindow built, found among the thread's windows.
HWND FindProgramWindowOfThread()
{
    for (HWND window : WindowsOfThread()) {
        if (ClassOf(window) == ProgramWindowClass)
            return window;
    }
    return nullptr;
}

// A message sent to a window of this thread.
struct Sent {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Records the messages sent to windows of this thread while it lives (WH_CALLWNDPROC).
class SentMessages {
public:
    SentMessages()
    {
        seen.clear();
        hook = SetWindowsHookExA(WH_CALLWNDPROC, Record, nullptr, GetCurrentThreadId());
    }
    ~SentMessages() { UnhookWindowsHookEx(hook); }
    std::vector<Sent> To(HWND window, UINT message) const
    {
        std::vector<Sent> found;
        for (const Sent& sent : seen) {
            if (sent.window == window && sent.message == message)
                found.push_back(sent);
        }
        return found;
    }
    int Count(HWND window, UINT message) const { return static_cast<int>(To(window, message).size()); }

private:
    static LRESULT CALLBACK Record(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HC_ACTION) {
            const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
            seen.push_back({sent->hwnd, sent->message, sent->wParam, sent->lParam});
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static std::vector<Sent> seen;
    HHOOK hook;
};
std::vector<Sent> SentMessages::seen;

HWND mainWindow;
HWND button;
std::vector<Sent> fontsSetByTheBuild;  // WM_SETFONT sent while the window was built

// Builds the window exactly as the program's start does, once for the whole run.
class StartupWindowEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        {
            SentMessages sent;
            LoadStartupWindow(MainWindowDefinitionId);
            mainWindow = FindProgramWindowOfThread();
            ASSERT_NE(mainWindow, nullptr) << "no window of class " << ProgramWindowClass;
            button = GetDlgItem(mainWindow, ButtonId);
            for (HWND window : {mainWindow, button}) {
                for (const Sent& setFont : sent.To(window, WM_SETFONT))
                    fontsSetByTheBuild.push_back(setFont);
            }
        }
        PumpUntil([] { return GetActiveWindow() == mainWindow && GetFocus() == button; });
    }
};

testing::Environment* const startupWindow = testing::AddGlobalTestEnvironment(new StartupWindowEnvironment);

// Makes the main window the active one again, after a test that moved the activation.
bool ActivateMainWindow()
{
    SetForegroundWindow(mainWindow);
    SetActiveWindow(mainWindow);
    return PumpUntil([] { return GetActiveWindow() == mainWindow; });
}

// A plain top-level window of the test, to take the activation away from the main window.
class OtherWindow {
public:
    OtherWindow()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "WindowTestOther";
        RegisterClassA(&windowClass);  // fails harmlessly when it already exists
        handle = CreateWindowExA(0, "WindowTestOther", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 120,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~OtherWindow()
    {
        DestroyWindow(handle);
        ActivateMainWindow();
    }
    bool Activate()
    {
        SetForegroundWindow(handle);
        SetActiveWindow(handle);
        return PumpUntil([this] { return GetActiveWindow() == handle; });
    }
    HWND handle;
};

// Sets the thread's key state so that GetKeyState sees exactly these modifiers down.
void SetModifiers(bool ctrl, bool shift, bool alt)
{
    BYTE keys[256] = {};
    if (ctrl)
        keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
    if (shift)
        keys[VK_SHIFT] = keys[VK_LSHIFT] = 0x80;
    if (alt)
        keys[VK_MENU] = keys[VK_LMENU] = 0x80;
    SetKeyboardState(keys);
}

// The colour the window shows at a point of its client area.
COLORREF ClientPixel(int x, int y)
{
    HDC dc = GetDC(mainWindow);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(mainWindow, dc);
    return colour;
}

// Repaints the main window alone, now: with WS_CLIPCHILDREN the button is left as it is.
void RepaintMainWindow()
{
    RedrawWindow(mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_NOCHILDREN);
    Flush();
}

// Points of the client area outside the button: the corners and the margins around it.
std::vector<POINT> PointsOutsideTheButton()
{
    RECT client;
    GetClientRect(mainWindow, &client);
    LONG midX = (ButtonInClient.left + ButtonInClient.right) / 2;
    LONG midY = (ButtonInClient.top + ButtonInClient.bottom) / 2;
    return {
        {0, 0},
        {client.right - 1, 0},
        {0, client.bottom - 1},
        {client.right - 1, client.bottom - 1},
        {ButtonInClient.left - 1, midY},
        {ButtonInClient.right, midY},
        {midX, ButtonInClient.top - 1},
        {midX, ButtonInClient.bottom},
    };
}

// --- The window class ---

// GetClassInfoExA of the program's class, and the class of the window that was built.
TEST(WindowClass, HasTheProgramsSettings)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), ProgramWindowClass, &windowClass))
        << "class " << ProgramWindowClass << " is not registered for the process's module";
    EXPECT_EQ(Hex(windowClass.style), Hex(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS));
    EXPECT_EQ(windowClass.cbClsExtra, 0);
    EXPECT_EQ(windowClass.cbWndExtra, 0);
    EXPECT_EQ(windowClass.hIcon, nullptr);
    EXPECT_EQ(windowClass.hIconSm, nullptr);
    EXPECT_EQ(windowClass.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(windowClass.hbrBackground, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
    EXPECT_EQ(windowClass.lpszMenuName, nullptr);

    EXPECT_EQ(ClassOf(mainWindow), ProgramWindowClass);
    EXPECT_EQ(reinterpret_cast<HMODULE>(GetClassLongPtrA(mainWindow, GCLP_HMODULE)), GetModuleHandleA(nullptr));
    EXPECT_EQ(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(mainWindow, GWLP_HINSTANCE)), GetModuleHandleA(nullptr));
}

// --- The window and its button ---

TEST(MainWindow, IsAnUnownedFixedFrameWindowCentredOnTheScreen)
{
    EXPECT_TRUE(IsWindowVisible(mainWindow));
    EXPECT_TRUE(IsWindowEnabled(mainWindow));
    EXPECT_EQ(Hex(GetWindowLongA(mainWindow, GWL_STYLE)),
              Hex(WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VISIBLE));
    EXPECT_EQ(Hex(GetWindowLongA(mainWindow, GWL_EXSTYLE)), Hex(WS_EX_WINDOWEDGE));
    EXPECT_EQ(GetWindow(mainWindow, GW_OWNER), nullptr);
    EXPECT_EQ(GetAncestor(mainWindow, GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(GetMenu(mainWindow), nullptr);

    // Where the window stands on the screens of the test sessions; odd remainders are
    // dropped. Other screens: half of what the window leaves free.
    struct Screen {
        int width, height, left, top;
    };
    const Screen screens[] = {{1920, 1080, 770, 415}, {1366, 768, 493, 259}, {1365, 768, 492, 259}};
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    int left = (screenWidth - WindowWidth) / 2;
    int top = (screenHeight - WindowHeight) / 2;
    for (const Screen& screen : screens) {
        if (screen.width == screenWidth && screen.height == screenHeight) {
            left = screen.left;
            top = screen.top;
        }
    }
    RECT bounds;
    GetWindowRect(mainWindow, &bounds);
    EXPECT_EQ(RectText(bounds), RectText({left, top, left + WindowWidth, top + WindowHeight}))
        << "on a screen of " << screenWidth << "x" << screenHeight;
}

TEST(MainWindow, ButtonStandsAtItsPlaceAsAnEnabledVisiblePushButton)
{
    ASSERT_NE(button, nullptr) << "no control with id " << ButtonId;
    EXPECT_EQ(ClassOf(button), "Button");
    EXPECT_EQ(GetParent(button), mainWindow);
    EXPECT_EQ(Hex(GetWindowLongA(button, GWL_STYLE)),
              Hex(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER
                  | BS_MULTILINE));
    EXPECT_EQ(Hex(GetWindowLongA(button, GWL_EXSTYLE)), Hex(0));
    EXPECT_TRUE(IsWindowVisible(button));
    EXPECT_TRUE(IsWindowEnabled(button));

    RECT bounds;
    GetWindowRect(button, &bounds);
    MapWindowPoints(nullptr, mainWindow, reinterpret_cast<POINT*>(&bounds), 2);
    EXPECT_EQ(RectText(bounds), RectText(ButtonInClient));
}

// --- Icons and fonts ---

// WM_GETICON of each size: the program's icon, at that size, loaded once for the process.
TEST(WindowIcons, AreTheProgramIconsAtBothSizes)
{
    struct Case {
        WPARAM which;
        const char* name;
        int size;
        HICON (*programIcon)();
    };
    const Case cases[] = {
        {ICON_BIG, "ICON_BIG", 32, LargeProgramIcon},
        {ICON_SMALL, "ICON_SMALL", 16, SmallProgramIcon},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto icon = reinterpret_cast<HICON>(SendMessageA(mainWindow, WM_GETICON, c.which, 0));
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(icon, c.programIcon()) << "a later call loaded the icon again";

        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        EXPECT_TRUE(info.fIcon);
        BITMAP bitmap = {};
        ASSERT_NE(info.hbmColor, nullptr) << "a monochrome icon; DEFAULT_ICON has colour";
        GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, c.size);
        EXPECT_EQ(bitmap.bmHeight, c.size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}

// The window and the button are each sent the default GUI font, with redrawing; the
// button keeps it. The window leaves WM_SETFONT to the default handling, which keeps no
// font, so only what was sent to it can be checked.
TEST(WindowFonts, AreTheDefaultGuiFontSentWithRedrawing)
{
    const auto defaultGuiFont = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    auto describe = [](const std::vector<Sent>& sent) {
        std::string text;
        for (const Sent& s : sent)
            text += std::string(s.window == mainWindow ? "window" : "button") + " " + Hex(s.wParam) + " "
                    + Hex(s.lParam) + "; ";
        return text;
    };
    const std::vector<Sent> expected = {{mainWindow, WM_SETFONT, defaultGuiFont, TRUE},
                                        {button, WM_SETFONT, defaultGuiFont, TRUE}};
    EXPECT_EQ(describe(fontsSetByTheBuild), describe(expected)) << "WM_SETFONT sent while building";
    EXPECT_EQ(Hex(SendMessageA(button, WM_GETFONT, 0, 0)), Hex(defaultGuiFont)) << "the button's font";
}

// --- Painting ---

// The client area outside the button shows COLOR_BTNFACE, read anew at each paint.
TEST(WindowPainting, FillsAroundTheButtonWithTheButtonFaceColourOfTheMoment)
{
    // Puts the system colour back however the test ends.
    struct FaceColourRestorer {
        const COLORREF colour = GetSysColor(COLOR_BTNFACE);
        ~FaceColourRestorer()
        {
            const int index = COLOR_BTNFACE;
            if (GetSysColor(COLOR_BTNFACE) != colour)
                SetSysColors(1, &index, &colour);
        }
    } restorer;
    const COLORREF original = restorer.colour;
    const COLORREF changed = RGB(0x2E, 0x8B, 0x57);
    ASSERT_NE(original, changed);

    struct Step {
        const char* name;
        COLORREF face;
    };
    const Step steps[] = {{"system colour", original}, {"changed colour", changed}, {"restored colour", original}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        const int index = COLOR_BTNFACE;
        if (GetSysColor(COLOR_BTNFACE) != step.face) {
            ASSERT_TRUE(SetSysColors(1, &index, &step.face));
        }
        RepaintMainWindow();
        for (POINT p : PointsOutsideTheButton()) {
            EXPECT_EQ(ColourText(ClientPixel(p.x, p.y)), ColourText(step.face))
                << "at client point (" << p.x << "," << p.y << ")";
        }
    }
}

// The window's paint leaves the button's drawing alone: its dark outer edge stays.
TEST(WindowPainting, DoesNotPaintOverTheButton)
{
    RepaintMainWindow();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    POINT bottomRight = {ButtonInClient.right - 1, ButtonInClient.bottom - 1};
    EXPECT_NE(ColourText(ClientPixel(bottomRight.x, bottomRight.y)), ColourText(face))
        << "the button's bottom-right corner shows the window's fill";
}

// --- Focus ---

TEST(WindowFocus, IsOnTheButtonOnceTheWindowIsShownAndActive)
{
    EXPECT_EQ(GetForegroundWindow(), mainWindow);
    EXPECT_EQ(GetActiveWindow(), mainWindow);
    EXPECT_EQ(GetFocus(), button);
}

TEST(WindowFocus, ComesBackToTheButtonWhenTheWindowIsActivatedAgain)
{
    OtherWindow other;
    ASSERT_NE(other.handle, nullptr);
    ASSERT_TRUE(other.Activate()) << "the other window did not become active";
    EXPECT_NE(GetFocus(), button) << "the button kept the focus in an inactive window";

    ASSERT_TRUE(ActivateMainWindow());
    EXPECT_TRUE(PumpUntil([] { return GetFocus() == button; }, 1000))
        << "focus on " << GetFocus() << " (" << ClassOf(GetFocus()) << ")";

    // Giving the focus to the window itself passes it on to the button too.
    SetFocus(mainWindow);
    EXPECT_EQ(GetFocus(), button);
}

// A button that cannot take the focus does not get it: the window keeps it.
TEST(WindowFocus, StaysOnTheWindowWhenTheButtonCannotTakeIt)
{
    struct Case {
        const char* name;
        void (*make)(bool unable);
    };
    const Case cases[] = {
        {"disabled", [](bool unable) { EnableWindow(button, !unable); }},
        {"hidden", [](bool unable) { ShowWindow(button, unable ? SW_HIDE : SW_SHOWNA); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.make(true);
        {
            OtherWindow other;
            ASSERT_TRUE(other.Activate());
            ASSERT_TRUE(ActivateMainWindow());
            Flush();
            EXPECT_EQ(GetFocus(), mainWindow) << "focus on " << ClassOf(GetFocus());
            c.make(false);
        }
        // With the button able again, the next activation gives it the focus.
        OtherWindow other;
        ASSERT_TRUE(other.Activate());
        ASSERT_TRUE(ActivateMainWindow());
        EXPECT_TRUE(PumpUntil([] { return GetFocus() == button; }, 1000)) << "focus on " << ClassOf(GetFocus());
    }
}

// --- The button's click ---

// The notices the click's routine shows in this thread, each read and closed with OK from
// within its own message loop; and whether the main window was disabled meanwhile.
struct NoticesSeen {
    std::vector<std::string> texts;
    std::vector<bool> windowEnabled;
};
NoticesSeen* noticesSeen;
HWND activatedBox;

void CALLBACK ReadAndCloseNotice(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    char text[128] = {};
    GetWindowTextA(GetDlgItem(activatedBox, 0xFFFF), text, sizeof text);
    noticesSeen->texts.push_back(text);
    noticesSeen->windowEnabled.push_back(IsWindowEnabled(mainWindow) != FALSE);
    PostMessageA(activatedBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(activatedBox, IDOK)));
}

LRESULT CALLBACK CloseNotices(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && noticesSeen) {
        HWND box = reinterpret_cast<HWND>(wParam);
        char className[16] = {};
        GetClassNameA(box, className, sizeof className);
        if (std::string(className) == "#32770") {
            // The box fills in its texts after it is activated.
            activatedBox = box;
            SetTimer(nullptr, 0, 50, ReadAndCloseNotice);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A click reaches the window as BN_CLICKED from control 100, which runs the bound prompt
// once, inside the click: its two notices, with the window disabled, and nothing more.
// Afterwards the window and button are as they were.
TEST(ButtonClick, RunsTheBoundRoutineOnceAndLeavesTheWindowAsItWas)
{
    ASSERT_TRUE(ActivateMainWindow());
    auto windowState = [] {
        RECT windowRect, buttonRect;
        GetWindowRect(mainWindow, &windowRect);
        GetWindowRect(button, &buttonRect);
        char title[64] = {}, caption[64] = {};
        GetWindowTextA(mainWindow, title, sizeof title);
        GetWindowTextA(button, caption, sizeof caption);
        return RectText(windowRect) + RectText(buttonRect) + " " + Hex(GetWindowLongA(mainWindow, GWL_STYLE)) + " "
               + Hex(GetWindowLongA(button, GWL_STYLE)) + " [" + title + "] [" + caption + "]";
    };
    const std::vector<HWND> windowsBefore = WindowsOfThread();
    const std::string stateBefore = windowState();

    NoticesSeen seen;
    noticesSeen = &seen;
    HHOOK hook = SetWindowsHookExA(WH_CBT, CloseNotices, nullptr, GetCurrentThreadId());
    SentMessages sent;
    SendMessageA(button, BM_CLICK, 0, 0);
    UnhookWindowsHookEx(hook);
    noticesSeen = nullptr;
    Flush();

    std::vector<Sent> commands = sent.To(mainWindow, WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u) << "WM_COMMAND sent to the window";
    EXPECT_EQ(Hex(commands[0].wParam), Hex(MAKEWPARAM(ButtonId, BN_CLICKED)));
    EXPECT_EQ(reinterpret_cast<HWND>(commands[0].lParam), button);
    EXPECT_EQ(seen.texts, (std::vector<std::string>{ForumNoticeText, GroupNoticeText}));
    EXPECT_EQ(seen.windowEnabled, (std::vector<bool>{false, false})) << "the window took input during a notice";
    EXPECT_EQ(WindowsOfThread(), windowsBefore) << "a window was left behind or destroyed";
    EXPECT_EQ(windowState(), stateBefore);
    EXPECT_TRUE(IsWindowEnabled(mainWindow));
    EXPECT_TRUE(IsWindowEnabled(button));
    // Back in the window, the focus is on the button again.
    ASSERT_TRUE(ActivateMainWindow());
    EXPECT_TRUE(PumpUntil([] { return GetFocus() == button; }, 2000)) << "focus on " << ClassOf(GetFocus());
}

// --- Keyboard rules, as the window applies them at pre-translation ---

enum class Addressee { Window, Button };
enum class Focus { Button, None };

HWND HandleOf(Addressee addressee) { return addressee == Addressee::Window ? mainWindow : button; }

const char* FocusName(HWND focus)
{
    if (focus == button)
        return "button";
    if (focus == mainWindow)
        return "window";
    return focus ? "other" : "none";
}

// Key messages that do not close the window, offered as the loop offers them; the
// modifiers are set in the thread's key state, where the rules read them.
TEST(KeyboardRules, ConsumeTabButPassOnEnterAndEveryModifiedEsc)
{
    struct Case {
        const char* name;
        UINT message;
        WPARAM key;
        bool ctrl, shift, alt;
        Addressee addressedTo;
        Addressee offeredTo;
        Focus focusBefore;
        bool consumed;
        Focus focusAfter;
    };
    const auto W = Addressee::Window;
    const auto B = Addressee::Button;
    const Case cases[] = {
        {"Tab moves the focus to the button", WM_KEYDOWN, VK_TAB, false, false, false, B, W, Focus::None, true,
         Focus::Button},
        {"Tab leaves the focus on the button", WM_KEYDOWN, VK_TAB, false, false, false, B, W, Focus::Button, true,
         Focus::Button},
        {"Shift+Tab moves the focus to the button", WM_KEYDOWN, VK_TAB, false, true, false, B, W, Focus::None, true,
         Focus::Button},
        {"Tab addressed to the window", WM_KEYDOWN, VK_TAB, false, false, false, W, W, Focus::None, true,
         Focus::Button},
        {"Ctrl+Tab", WM_KEYDOWN, VK_TAB, true, false, false, B, W, Focus::None, false, Focus::None},
        {"Enter on the normal button", WM_KEYDOWN, VK_RETURN, false, false, false, B, W, Focus::Button, false,
         Focus::Button},
        {"Space, left to the button", WM_KEYDOWN, VK_SPACE, false, false, false, B, W, Focus::Button, false,
         Focus::Button},
        {"Alt+D, no mnemonic", WM_SYSKEYDOWN, 'D', false, false, true, B, W, Focus::Button, false, Focus::Button},
        {"Ctrl+Esc", WM_KEYDOWN, VK_ESCAPE, true, false, false, B, W, Focus::Button, false, Focus::Button},
        {"Shift+Esc", WM_KEYDOWN, VK_ESCAPE, false, true, false, B, W, Focus::Button, false, Focus::Button},
        {"Alt+Esc", WM_SYSKEYDOWN, VK_ESCAPE, false, false, true, B, W, Focus::Button, false, Focus::Button},
        {"Esc released", WM_KEYUP, VK_ESCAPE, false, false, false, B, W, Focus::Button, false, Focus::Button},
        {"Esc as a character", WM_CHAR, VK_ESCAPE, false, false, false, B, W, Focus::Button, false, Focus::Button},
        // The button is no program window: the loop goes on to its parent.
        {"Esc offered to the button itself", WM_KEYDOWN, VK_ESCAPE, false, false, false, B, B, Focus::Button, false,
         Focus::Button},
    };
    ASSERT_TRUE(ActivateMainWindow());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND focusBefore = c.focusBefore == Focus::Button ? button : nullptr;
        SetFocus(focusBefore);
        ASSERT_STREQ(FocusName(GetFocus()), FocusName(focusBefore));
        SetModifiers(c.ctrl, c.shift, c.alt);

        MSG message = {};
        message.hwnd = HandleOf(c.addressedTo);
        message.message = c.message;
        message.wParam = c.key;
        message.lParam = 1 | (c.alt ? 1 << 29 : 0);
        message.time = GetTickCount();
        SentMessages sent;
        bool consumed = PreTranslateForWindow(HandleOf(c.offeredTo), message);
        SetModifiers(false, false, false);

        EXPECT_EQ(consumed, c.consumed);
        EXPECT_STREQ(FocusName(GetFocus()), FocusName(c.focusAfter == Focus::Button ? button : nullptr));
        EXPECT_EQ(sent.Count(mainWindow, WM_CLOSE), 0) << "the window was closed";
        EXPECT_EQ(sent.Count(button, BM_CLICK) + sent.Count(mainWindow, WM_COMMAND), 0) << "the button was clicked";
        ASSERT_TRUE(IsWindow(mainWindow));
    }
    SetFocus(button);
}

// The button's window procedure while a test holds it: BM_CLICK is counted and goes no
// further, so the bound prompt does not run; everything else reaches the control.
WNDPROC buttonProcedure;
int clicksSwallowed;

LRESULT CALLBACK SwallowClicks(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == BM_CLICK) {
        ++clicksSwallowed;
        return 0;
    }
    return CallWindowProcA(buttonProcedure, window, message, wParam, lParam);
}

// Enter clicks a button only while the control itself is an enabled push button of the
// default kind: the window reads the kind and state from the control at each key.
TEST(KeyboardRules, EnterClicksTheButtonOnlyWhileTheControlIsAnEnabledDefaultButton)
{
    struct Case {
        const char* name;
        DWORD kind;
        bool enabled;
        bool clicked;
    };
    const Case cases[] = {
        {"default push button", BS_DEFPUSHBUTTON, true, true},
        {"default push button, disabled", BS_DEFPUSHBUTTON, false, false},
        {"normal push button", BS_PUSHBUTTON, true, false},
        {"check box", BS_AUTOCHECKBOX, true, false},
    };
    ASSERT_TRUE(ActivateMainWindow());
    const DWORD kindBefore = GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK;
    buttonProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SwallowClicks)));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SendMessageA(button, BM_SETSTYLE, c.kind, FALSE);
        EnableWindow(button, c.enabled);
        clicksSwallowed = 0;

        MSG message = {};
        message.hwnd = button;
        message.message = WM_KEYDOWN;
        message.wParam = VK_RETURN;
        message.lParam = 1;
        EXPECT_EQ(PreTranslateForWindow(mainWindow, message), c.clicked);
        EXPECT_EQ(clicksSwallowed, c.clicked ? 1 : 0);
    }
    SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(buttonProcedure));
    SendMessageA(button, BM_SETSTYLE, kindBefore, FALSE);
    EnableWindow(button, TRUE);
    SetFocus(button);
    EXPECT_EQ(GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK, kindBefore);
}

// --- Closing ---

constexpr UINT GuardExitCode = 0x6A7D;

void CALLBACK EndLoopByGuard(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(GuardExitCode); }

// Esc addressed to the button, through the program's own loop: the window sends itself
// WM_CLOSE, is destroyed, and the loop ends with code 0. A timer ends it otherwise.
TEST(Closing, EscClosesTheWindowAndEndsTheLoopWithCodeZero)
{
    ASSERT_TRUE(ActivateMainWindow());
    ASSERT_EQ(GetFocus(), button);
    SetModifiers(false, false, false);
    SentMessages sent;
    PostMessageA(button, WM_KEYDOWN, VK_ESCAPE, 1);
    UINT_PTR guard = SetTimer(nullptr, 0, 5000, EndLoopByGuard);

    RunMessageLoop();
    KillTimer(nullptr, guard);

    EXPECT_EQ(Hex(LoopExitCode()), Hex(0)) << Hex(GuardExitCode) << " is the guard's: the loop did not end";
    EXPECT_EQ(sent.Count(mainWindow, WM_CLOSE), 1);
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_FALSE(IsWindow(button));
    EXPECT_FALSE(AnyProgramWindow());
}

// With no program window left, the loop returns at once: a quit message posted before
// it is still waiting afterwards, and the exit code stays 0.
TEST(Closing, LoopReturnsAtOnceWhenNoProgramWindowIsLeft)
{
    ASSERT_FALSE(AnyProgramWindow());
    PostQuitMessage(GuardExitCode);
    RunMessageLoop();
    MSG message = {};
    EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the loop took the quit message";
    EXPECT_EQ(Hex(message.wParam), Hex(GuardExitCode));
    EXPECT_EQ(Hex(LoopExitCode()), Hex(0));
}

}  // namespace
