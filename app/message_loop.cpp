#include "app/message_loop.h"

#include "ui/program_window.h"

namespace {

bool loopEntered;
UINT exitCode;

// Offers a message to the window it is addressed to and then up the chain of parents;
// the first program window that consumes it ends its handling.
bool PreTranslate(const MSG& message)
{
    for (HWND target = message.hwnd; target; target = GetParent(target)) {
        if (PreTranslateForWindow(target, message))
            return true;
    }
    return false;
}

}  // namespace

void RunMessageLoop()
{
    loopEntered = true;
    if (!AnyProgramWindow())
        return;
    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!PreTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    exitCode = static_cast<UINT>(message.wParam);
}

UINT LoopExitCode() { return exitCode; }

void ProgramWindowDestroyed()
{
    if (loopEntered && !AnyProgramWindow())
        PostQuitMessage(0);
}
