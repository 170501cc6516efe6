#include "prompt/web_page_launcher.h"

#include <string.h>
#include <windows.h>

#include "prompt/text_memory.h"
#include "prompt/texts.h"

const char UrlHandlerCommandPrefix[] = "rundll32.exe url.dll,FileProtocolHandler ";

namespace {

// The system's own rundll32.exe. Named in full so that the search for the command line's
// first word never runs a rundll32.exe from the program's or the current folder.
bool FindUrlHandlerProgram(char (&path)[MAX_PATH])
{
    static const char name[] = "\\rundll32.exe";
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + sizeof name > MAX_PATH)
        return false;
    memcpy(path + length, name, sizeof name);
    return true;
}

}  // namespace

void OpenWebPage(const char* address)
{
    char* commandLine = JoinTexts({UrlHandlerCommandPrefix, address});
    char program[MAX_PATH];
    // Without the system folder the start fails: there is no search to fall back on.
    if (FindUrlHandlerProgram(program))
        RunCommandLine(program, commandLine);
    ReleaseText(commandLine);
}

bool RunCommandLine(const char* program, char* commandLine)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process;
    // The new process inherits the environment and current folder, but no handles.
    if (!CreateProcessA(program, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    WaitForInputIdle(process.hProcess, 1000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}
