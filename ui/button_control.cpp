#include "ui/button_control.h"

HWND CreateDefinedControl(HWND parent, const ControlDefinition& control, int identifier)
{
    HWND handle = CreateWindowExA(0, control.className, control.caption, control.style,
                                  control.left, control.top, control.width, control.height,
                                  parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(identifier)),
                                  GetModuleHandleA(nullptr), nullptr);
    if (handle)
        SendMessageA(handle, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    return handle;
}

void DeliverControlNotification(const ControlDefinition& control, WORD code)
{
    // The standard control has already decided what a click is; nothing else is bound.
    if (code == BN_CLICKED && control.onClick)
        control.onClick();
}
