// The program's start routine.
#pragma once

// Builds and shows the main window, runs the message loop until it ends; returns 0.
int StartProgram();
