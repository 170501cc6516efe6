// The one message loop of the user-interface thread, and the end of the run.
#pragma once

#include <windows.h>

// Runs until the quit message is taken; returns at once when no program window exists.
void RunMessageLoop();

// The code of the quit message that ended the loop: the process's exit code.
UINT LoopExitCode();

// Called once a program window has handled WM_NCDESTROY: ends the loop after the last.
void ProgramWindowDestroyed();
