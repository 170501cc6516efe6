// Constant records from which the program's windows and their controls are built.
#pragma once

#include <windows.h>

// A routine of the program bound to an occurrence of a control.
using ClickRoutine = void (*)();

struct ControlDefinition {
    const char* name;       // identifies the control within its window; never shown
    const char* className;  // system window class of the control
    const char* caption;    // window text, GBK
    int left;               // client coordinates of the parent
    int top;
    int width;
    int height;
    DWORD style;            // without WS_VISIBLE: controls are shown once all exist
    bool visible;           // shown once the window's controls exist
    int tabOrder;           // lower comes first in the focus order
    ClickRoutine onClick;   // run once per click, or none
};

struct WindowDefinition {
    DWORD identifier;                          // key for FindWindowDefinition
    const char* title;                         // window text, GBK
    int left;                                  // stored only: the window is centred
    int top;
    int width;                                 // outer size, frame and caption included
    int height;
    DWORD style;                               // without WS_VISIBLE: shown after the build
    bool closesOnEscape;                       // Esc alone sends WM_CLOSE
    const ControlDefinition* const* controls;  // in creation order
    int controlCount;
};

// A window numbers its controls 100, 110, 120, ... in the order of creation.
constexpr int ControlIdentifier(int index) { return 100 + 10 * index; }

// Bound on the controls of one window, so that the window's rules work on the stack.
constexpr int MaxControlsPerWindow = 8;

// The definition with that identifier, or none.
const WindowDefinition* FindWindowDefinition(DWORD identifier);
