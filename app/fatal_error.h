// The two failures the program cannot go on from.
#pragma once

// Shown when the main window or one of its controls cannot be created.
extern const char WindowFailureText[];
// Shown when no memory can be had for a text the program builds.
extern const char MemoryFailureText[];
extern const char FatalErrorCaption[];

// Shows an error box and ends the process with exit code 0xFFFFFFFF.
[[noreturn]] void EndWithFatalError(const char* text);
