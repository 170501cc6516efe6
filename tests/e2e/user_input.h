// Real input, as a user gives it: through the system's input queue to the foreground
// window, so that the receiving program sees the modifier keys as held down.
#pragma once

#include <windows.h>

#include <vector>

// Makes `window` the foreground window and waits until it has stayed so for a moment.
bool MakeForeground(HWND window, DWORD timeoutMs = 3000);

// Presses the keys in the given order and releases them in reverse, in one batch:
// {VK_MENU, VK_F4} is Alt+F4.
void PressKeys(const std::vector<WORD>& keys);

// Left-button gestures at screen points.
void ClickAt(POINT point);
void DoubleClickAt(POINT point);
void DragWithLeftButton(POINT from, POINT to);
