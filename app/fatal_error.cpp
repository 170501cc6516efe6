// Compiled with -fexec-charset=GBK: the texts below reach the system as GBK bytes.
#include "app/fatal_error.h"

#include <windows.h>

const char WindowFailureText[] = "无法创建程序窗口，程序将退出。";
const char MemoryFailureText[] = "内存不足，程序将退出。";
const char FatalErrorCaption[] = "Quorvel专用下载器";

void EndWithFatalError(const char* text)
{
    // Task-modal, so that no window of the program takes input while the box waits.
    MessageBoxA(nullptr, text, FatalErrorCaption, MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(0xFFFFFFFF);
}
