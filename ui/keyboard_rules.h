// The keys a window handles for itself and its controls before they are dispatched.
#pragma once

#include "ui/control_state.h"

struct KeyStroke {
    unsigned virtualKey;
    bool ctrl;
    bool shift;
    bool alt;
};

enum class KeyAction {
    PassOn,     // not consumed: translate and dispatch as usual
    Close,      // consumed: the window sends itself WM_CLOSE
    Click,      // consumed: click `control`
    MoveFocus,  // consumed: focus `control`, if it is not -1
};

struct KeyDecision {
    KeyAction action;
    int control;
};

// Decides a key-down for a window. `addressed` and `focused` are control indexes, or -1
// for the window itself.
KeyDecision DecideKey(const KeyStroke& key, const ControlState* controls, int count,
                      int addressed, int focused, bool closesOnEscape);

// Whether a caption marks `character` as its mnemonic with a preceding "&" ("&&" is a
// literal ampersand). Letters match in either case.
bool CaptionMarks(const char* caption, char character);
