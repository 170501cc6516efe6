#include "tests/e2e/user_input.h"

#include <vector>

#include "tests/e2e/program_under_test.h"

namespace {

INPUT Key(WORD virtualKey, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// Absolute coordinates are in 1/65536 of the primary screen; rounding up lands the
// pointer on exactly the pixel asked for.
INPUT Mouse(POINT point, DWORD buttonFlags)
{
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((point.x * 65536LL + width - 1) / width);
    input.mi.dy = static_cast<LONG>((point.y * 65536LL + height - 1) / height);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttonFlags;
    return input;
}

void Send(std::vector<INPUT> inputs)
{
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace

// Under Wine the X server's focus events for an earlier switch can arrive late and hand
// the foreground back, so the request is repeated until the window has kept it a while.
bool MakeForeground(HWND window, DWORD timeoutMs)
{
    constexpr DWORD SteadyMs = 150;
    DWORD start = GetTickCount();
    DWORD heldSince = 0;
    bool holding = false;
    for (;;) {
        DWORD now = GetTickCount();
        if (GetForegroundWindow() == window) {
            if (!holding) {
                holding = true;
                heldSince = now;
            }
            if (now - heldSince >= SteadyMs)
                return true;
        } else {
            holding = false;
            SetForegroundWindow(window);
        }
        if (now - start >= timeoutMs)
            return false;
        PumpMessagesFor(20);
    }
}

void PressKeys(const std::vector<WORD>& keys)
{
    std::vector<INPUT> inputs;
    for (WORD key : keys)
        inputs.push_back(Key(key, false));
    for (auto key = keys.rbegin(); key != keys.rend(); ++key)
        inputs.push_back(Key(*key, true));
    Send(inputs);
}

void ClickAt(POINT point)
{
    Send({Mouse(point, 0), Mouse(point, MOUSEEVENTF_LEFTDOWN), Mouse(point, MOUSEEVENTF_LEFTUP)});
}

void DoubleClickAt(POINT point)
{
    Send({Mouse(point, 0), Mouse(point, MOUSEEVENTF_LEFTDOWN), Mouse(point, MOUSEEVENTF_LEFTUP),
          Mouse(point, MOUSEEVENTF_LEFTDOWN), Mouse(point, MOUSEEVENTF_LEFTUP)});
}

// Step by step, with short pauses, as a hand moves: the window that is dragged runs its
// own loop for the drag and must see the button go down before the moves come.
void DragWithLeftButton(POINT from, POINT to)
{
    Send({Mouse(from, 0), Mouse(from, MOUSEEVENTF_LEFTDOWN)});
    constexpr int Steps = 8;
    for (int step = 1; step <= Steps; ++step) {
        PumpMessagesFor(20);
        Send({Mouse({from.x + (to.x - from.x) * step / Steps, from.y + (to.y - from.y) * step / Steps}, 0)});
    }
    PumpMessagesFor(20);
    Send({Mouse(to, MOUSEEVENTF_LEFTUP)});
}
