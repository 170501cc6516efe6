// Building and showing the window the program starts with.
#pragma once

#include <windows.h>

// Builds the window of that definition with its controls and shows it, active.
// Does not return when the window cannot be built.
void LoadStartupWindow(DWORD definitionId);
