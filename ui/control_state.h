// What the window's focus and keyboard rules need to know of one control at the moment.
#pragma once

struct ControlState {
    int tabOrder;
    bool takesFocus;       // visible, enabled and WS_TABSTOP
    bool isPushButton;     // enabled push button of either kind
    bool isDefaultButton;  // enabled push button of the default kind (BS_DEFPUSHBUTTON)
    const char* caption;
};
