// The program icon DEFAULT_ICON at the sizes a window shows, loaded once per process.
#pragma once

#include <windows.h>

HICON LargeProgramIcon();
HICON SmallProgramIcon();
