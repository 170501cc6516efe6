#include "ui/program_icons.h"

namespace {

// Loaded the first time a window needs them and kept for the rest of the process;
// a missing icon stays missing and the window shows the system's default one.
struct ProgramIcons {
    bool loaded;
    HICON large;
    HICON small;
};

ProgramIcons icons;

const ProgramIcons& LoadedIcons()
{
    if (!icons.loaded) {
        HINSTANCE module = GetModuleHandleA(nullptr);
        icons.large = static_cast<HICON>(LoadImageA(module, "DEFAULT_ICON", IMAGE_ICON, 32, 32, 0));
        icons.small = static_cast<HICON>(LoadImageA(module, "DEFAULT_ICON", IMAGE_ICON, 16, 16, 0));
        icons.loaded = true;
    }
    return icons;
}

}  // namespace

HICON LargeProgramIcon() { return LoadedIcons().large; }

HICON SmallProgramIcon() { return LoadedIcons().small; }
