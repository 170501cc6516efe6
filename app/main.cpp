// Process entry: runs the program, then ends the process with the quit message's code.
#include <windows.h>

#include "app/message_loop.h"
#include "app/start_program.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // Neither the command line nor the show command is used.
    StartProgram();
    ExitProcess(LoopExitCode());
}
