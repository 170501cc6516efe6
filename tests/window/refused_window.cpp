// The program's own entry, run with one window creation refused, to reach the fatal
// path: refused_window.exe window | button
//   window  refuses the main window (class QuorvelDownloaderWindow);
//   button  refuses its button (class BUTTON).
// A thread CBT hook refuses the first creation of that class only: the error box that
// follows has a BUTTON of its own.
#include <windows.h>

#include "app/message_loop.h"
#include "app/start_program.h"

namespace {

const char* refusedClass;
bool refused;

LRESULT CALLBACK RefuseCreation(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && !refused) {
        // The window exists at this point, so its class name can be read whether the
        // creation named the class by text or by atom.
        char name[64] = {};
        GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
        if (lstrcmpiA(name, refusedClass) == 0) {
            refused = true;
            return 1;  // CreateWindowEx fails
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    if (lstrcmpiA(commandLine, "window") == 0)
        refusedClass = "QuorvelDownloaderWindow";
    else if (lstrcmpiA(commandLine, "button") == 0)
        refusedClass = "Button";
    else
        return 2;
    if (!SetWindowsHookExA(WH_CBT, RefuseCreation, nullptr, GetCurrentThreadId()))
        return 3;

    // What the program's entry does.
    StartProgram();
    ExitProcess(LoopExitCode());
}
