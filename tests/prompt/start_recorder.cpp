// Test program: records how it was started into "recorded-start.txt" in its current
// folder: its command line, then STARTUPINFO's dwFlags and wShowWindow, one per line.
#include <windows.h>

#include <stdio.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    FILE* file = fopen("recorded-start.txt.part", "wb");
    if (!file)
        return 1;
    fprintf(file, "%s\n%lu\n%u\n", GetCommandLineA(), static_cast<unsigned long>(startup.dwFlags),
            static_cast<unsigned>(startup.wShowWindow));
    fclose(file);
    // Appears whole or not at all to whoever polls for it.
    MoveFileA("recorded-start.txt.part", "recorded-start.txt");
    return 0;
}
