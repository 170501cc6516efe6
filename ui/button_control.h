// A push button made from its control definition, and the delivery of its clicks.
#pragma once

#include "ui/window_definition.h"

// Creates the control, hidden, as child `identifier` of `parent`; null on failure.
HWND CreateDefinedControl(HWND parent, const ControlDefinition& control, int identifier);

// Hands a notification that the control sent its parent back to the control's record.
void DeliverControlNotification(const ControlDefinition& control, WORD code);
