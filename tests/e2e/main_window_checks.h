// What the program's main window must look like from outside, shared by the tests that
// start it in different ways.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include "tests/e2e/program_under_test.h"

constexpr int WindowWidth = 380;
constexpr int WindowHeight = 250;

// WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN as created, shown; the
// system adds WS_CLIPSIBLINGS to every top-level window.
constexpr LONG ShownWindowStyle = 0x02C80000 | WS_VISIBLE | WS_CLIPSIBLINGS;
// Created with none; the system adds WS_EX_WINDOWEDGE to a window with a dialog frame.
constexpr LONG WindowExStyle = WS_EX_WINDOWEDGE;

// The outer rectangle the window must have on this session's screen; fails for a screen
// size the tests do not know.
testing::AssertionResult ExpectedWindowRect(RECT& rect);

// Shown, neither minimized nor maximized, with the created styles, centred at 380x250.
testing::AssertionResult ShownNormallyAtCentre(HWND window);

// The window is the foreground window and its thread's focus is on the button, within
// a short wait (activation reaches the program through its message queue).
testing::AssertionResult ActiveWithFocusOnButton(const ProgramUnderTest& program);
