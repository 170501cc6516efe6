#include "app/startup_window.h"

#include "app/fatal_error.h"
#include "ui/program_window.h"

// The window lives from start-up to its close, which ends the program.
static ProgramWindow startupWindow;

void LoadStartupWindow(DWORD definitionId)
{
    const WindowDefinition* definition = FindWindowDefinition(definitionId);
    if (!definition || !BuildWindow(startupWindow, *definition))
        EndWithFatalError(WindowFailureText);
    ShowDefinedControls(startupWindow);
    // SW_SHOW, not the show command the program was started with: always normal and active.
    ShowWindow(startupWindow.handle, SW_SHOW);
}
