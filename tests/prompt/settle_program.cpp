// Test program for the launcher's settling wait. "idle": waits for input in a message
// loop at once. "busy": never asks for input. Either ends by itself after two seconds.
#include <windows.h>

#include <string.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    if (strstr(commandLine, "busy")) {
        Sleep(2000);
        return 0;
    }
    SetTimer(nullptr, 0, 2000, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER)
            break;
        DispatchMessageA(&message);
    }
    return 0;
}
