// The program's windows: built from their definitions, with their painting, focus,
// keyboard rules and closing.
#pragma once

#include "ui/window_definition.h"

// One window built from a definition. The caller keeps the object for the window's life.
struct ProgramWindow {
    const WindowDefinition* definition;
    HWND handle;
    HWND rememberedFocus;  // the control that had the focus when the window was deactivated
    ProgramWindow* next;   // the live program windows, in a list
};

// Builds the window and its controls, all hidden. On failure nothing of it is left.
bool BuildWindow(ProgramWindow& window, const WindowDefinition& definition);

// Shows the controls that the definition marks visible, without activating them.
void ShowDefinedControls(const ProgramWindow& window);

// Whether any program window exists.
bool AnyProgramWindow();

// Applies the keyboard rules of the program window `target`, if it is one, to a message
// addressed to it or to one of its controls. True when the message was consumed.
bool PreTranslateForWindow(HWND target, const MSG& message);
