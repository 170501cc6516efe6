#include "ui/program_window.h"

#include "app/message_loop.h"
#include "ui/button_control.h"
#include "ui/focus_order.h"
#include "ui/keyboard_rules.h"
#include "ui/placement.h"
#include "ui/program_icons.h"

namespace {

constexpr char WindowClassName[] = "QuorvelDownloaderWindow";

ProgramWindow* liveWindows;

LRESULT CALLBACK WindowProcedure(HWND, UINT, WPARAM, LPARAM);

// Registers the program's window class once per process; later builds reuse it.
bool EnsureWindowClass()
{
    HINSTANCE module = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    if (GetClassInfoA(module, WindowClassName, &windowClass))
        return true;
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = module;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    // Hollow: erasing paints nothing, WM_PAINT alone gives the background.
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    windowClass.lpszClassName = WindowClassName;
    return RegisterClassA(&windowClass) != 0;
}

ProgramWindow* FindProgramWindow(HWND handle)
{
    for (ProgramWindow* window = liveWindows; window; window = window->next) {
        if (window->handle == handle)
            return window;
    }
    return nullptr;
}

void Unlink(const ProgramWindow* gone)
{
    for (ProgramWindow** link = &liveWindows; *link; link = &(*link)->next) {
        if (*link == gone) {
            *link = gone->next;
            return;
        }
    }
}

HWND ControlHandle(const ProgramWindow& window, int index)
{
    return GetDlgItem(window.handle, ControlIdentifier(index));
}

// The index of a control of the window, or -1.
int ControlIndex(const ProgramWindow& window, HWND control)
{
    for (int i = 0; i < window.definition->controlCount; ++i) {
        if (control && ControlHandle(window, i) == control)
            return i;
    }
    return -1;
}

// Reads the controls' state as the focus and keyboard rules need it.
int ReadControlStates(const ProgramWindow& window, ControlState (&states)[MaxControlsPerWindow])
{
    const WindowDefinition& definition = *window.definition;
    for (int i = 0; i < definition.controlCount; ++i) {
        HWND control = ControlHandle(window, i);
        LONG style = GetWindowLongA(control, GWL_STYLE);
        bool enabled = !(style & WS_DISABLED);
        // The control itself says whether it is a push button, and of which kind, as it
        // tells the dialog manager.
        LRESULT code = SendMessageA(control, WM_GETDLGCODE, 0, 0);
        states[i].tabOrder = definition.controls[i]->tabOrder;
        states[i].takesFocus = enabled && (style & WS_VISIBLE) && (style & WS_TABSTOP);
        states[i].isPushButton = enabled && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON));
        states[i].isDefaultButton = enabled && (code & DLGC_DEFPUSHBUTTON);
        states[i].caption = definition.controls[i]->caption;
    }
    return definition.controlCount;
}

bool KeyIsDown(int key) { return GetKeyState(key) < 0; }

void OnPaint(HWND handle)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(handle, &paint);
    // The colour is read at each paint, so a change of system colours shows at once.
    if (HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE))) {
        FillRect(dc, &paint.rcPaint, brush);
        DeleteObject(brush);
    }
    EndPaint(handle, &paint);
}

// Remembers the focused control when the window is deactivated, to give it back later.
void OnDeactivated(ProgramWindow& window)
{
    HWND focus = GetFocus();
    window.rememberedFocus = focus && IsChild(window.handle, focus) ? focus : nullptr;
}

// Passes the focus that the window receives on to a control: the remembered one if it is
// still there, else the first in focus order. With no such control the window keeps it.
void OnFocusReceived(ProgramWindow& window)
{
    HWND target = window.rememberedFocus;
    window.rememberedFocus = nullptr;
    // IsChild is false for a control that no longer exists.
    if (!target || !IsChild(window.handle, target)) {
        ControlState states[MaxControlsPerWindow];
        int first = FirstInFocusOrder(states, ReadControlStates(window, states));
        target = first >= 0 ? ControlHandle(window, first) : nullptr;
    }
    if (target)
        SetFocus(target);
}

void OnCommand(const ProgramWindow& window, WPARAM wParam, LPARAM lParam)
{
    int index = ControlIndex(window, reinterpret_cast<HWND>(lParam));
    if (index >= 0)
        DeliverControlNotification(*window.definition->controls[index], HIWORD(wParam));
}

LRESULT CALLBACK WindowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* window = static_cast<ProgramWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        window->handle = handle;
        window->next = liveWindows;
        liveWindows = window;
    }
    ProgramWindow* window = FindProgramWindow(handle);
    if (!window)
        return DefWindowProcA(handle, message, wParam, lParam);

    switch (message) {
    case WM_PAINT:
        OnPaint(handle);
        return 0;
    case WM_ACTIVATE: {
        LRESULT result = DefWindowProcA(handle, message, wParam, lParam);
        if (LOWORD(wParam) == WA_INACTIVE)
            OnDeactivated(*window);
        return result;
    }
    case WM_SETFOCUS: {
        LRESULT result = DefWindowProcA(handle, message, wParam, lParam);
        OnFocusReceived(*window);
        return result;
    }
    case WM_COMMAND:
        OnCommand(*window, wParam, lParam);
        return 0;
    case WM_NCDESTROY: {
        LRESULT result = DefWindowProcA(handle, message, wParam, lParam);
        Unlink(window);
        window->handle = nullptr;
        ProgramWindowDestroyed();
        return result;
    }
    }
    // WM_CLOSE included: the default handling destroys the window without a question.
    return DefWindowProcA(handle, message, wParam, lParam);
}

}  // namespace

bool BuildWindow(ProgramWindow& window, const WindowDefinition& definition)
{
    if (!EnsureWindowClass())
        return false;
    window.definition = &definition;
    window.rememberedFocus = nullptr;
    WindowOrigin origin = CentredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                        definition.width, definition.height);
    HWND handle = CreateWindowExA(0, WindowClassName, definition.title, definition.style, origin.x,
                                  origin.y, definition.width, definition.height, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), &window);
    if (!handle)
        return false;

    // The outer size is exact, whatever the system's frame and caption metrics.
    RECT bounds;
    GetWindowRect(handle, &bounds);
    if (bounds.right - bounds.left != definition.width || bounds.bottom - bounds.top != definition.height)
        MoveWindow(handle, origin.x, origin.y, definition.width, definition.height, TRUE);

    SendMessageA(handle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LargeProgramIcon()));
    SendMessageA(handle, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(SmallProgramIcon()));
    SendMessageA(handle, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);

    for (int i = 0; i < definition.controlCount; ++i) {
        if (!CreateDefinedControl(handle, *definition.controls[i], ControlIdentifier(i))) {
            DestroyWindow(handle);
            return false;
        }
    }
    return true;
}

void ShowDefinedControls(const ProgramWindow& window)
{
    for (int i = 0; i < window.definition->controlCount; ++i) {
        if (window.definition->controls[i]->visible)
            ShowWindow(ControlHandle(window, i), SW_SHOWNA);
    }
}

bool AnyProgramWindow() { return liveWindows != nullptr; }

bool PreTranslateForWindow(HWND target, const MSG& message)
{
    ProgramWindow* window = FindProgramWindow(target);
    if (!window || (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN))
        return false;

    ControlState states[MaxControlsPerWindow];
    int count = ReadControlStates(*window, states);
    KeyStroke key = {static_cast<unsigned>(message.wParam), KeyIsDown(VK_CONTROL), KeyIsDown(VK_SHIFT),
                     KeyIsDown(VK_MENU)};
    KeyDecision decision = DecideKey(key, states, count, ControlIndex(*window, message.hwnd),
                                     ControlIndex(*window, GetFocus()), window->definition->closesOnEscape);
    switch (decision.action) {
    case KeyAction::PassOn:
        return false;
    case KeyAction::Close:
        SendMessageA(window->handle, WM_CLOSE, 0, 0);
        return true;
    case KeyAction::Click:
        SendMessageA(ControlHandle(*window, decision.control), BM_CLICK, 0, 0);
        return true;
    case KeyAction::MoveFocus:
        if (decision.control >= 0)
            SetFocus(ControlHandle(*window, decision.control));
        return true;
    }
    return false;
}
