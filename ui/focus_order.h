// The order in which a window's controls take the keyboard focus.
#pragma once

#include "ui/control_state.h"

// The control that takes the focus first: the lowest tab order among those that take
// the focus, ties won by the last in the definition. -1 when none takes the focus.
int FirstInFocusOrder(const ControlState* controls, int count);

// The control after (or before) `current` in focus order, wrapping around.
// From no control, or one that does not take the focus, it is the first (or last).
int NextInFocusOrder(const ControlState* controls, int count, int current, bool backwards);
