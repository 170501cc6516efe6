#include "ui/keyboard_rules.h"

#include "ui/focus_order.h"

namespace {

constexpr unsigned KeyTab = 0x09;     // VK_TAB
constexpr unsigned KeyReturn = 0x0D;  // VK_RETURN
constexpr unsigned KeyEscape = 0x1B;  // VK_ESCAPE

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

bool IsLetterOrDigitKey(unsigned key)
{
    return (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z');
}

bool Alone(const KeyStroke& key) { return !key.ctrl && !key.shift && !key.alt; }

KeyDecision ClickDefaultButton(const ControlState* controls, int count, int addressed)
{
    if (addressed >= 0 && controls[addressed].isDefaultButton)
        return {KeyAction::Click, addressed};
    for (int i = 0; i < count; ++i) {
        if (controls[i].isDefaultButton)
            return {KeyAction::Click, i};
    }
    return {KeyAction::PassOn, -1};
}

KeyDecision ClickMnemonic(const ControlState* controls, int count, char character)
{
    for (int i = 0; i < count; ++i) {
        if (controls[i].isPushButton && CaptionMarks(controls[i].caption, character))
            return {KeyAction::Click, i};
    }
    return {KeyAction::PassOn, -1};
}

}  // namespace

bool CaptionMarks(const char* caption, char character)
{
    if (!caption)
        return false;
    for (const char* p = caption; *p; ++p) {
        if (*p != '&')
            continue;
        ++p;
        if (*p == '\0')
            return false;
        if (*p != '&' && UpperAscii(*p) == UpperAscii(character))
            return true;
    }
    return false;
}

KeyDecision DecideKey(const KeyStroke& key, const ControlState* controls, int count,
                      int addressed, int focused, bool closesOnEscape)
{
    bool shiftOnly = key.shift && !key.ctrl && !key.alt;
    bool altOnly = key.alt && !key.ctrl && !key.shift;

    if (key.virtualKey == KeyEscape && Alone(key) && closesOnEscape)
        return {KeyAction::Close, -1};
    if (key.virtualKey == KeyReturn && Alone(key))
        return ClickDefaultButton(controls, count, addressed);
    if (key.virtualKey == KeyTab && (Alone(key) || shiftOnly))
        return {KeyAction::MoveFocus, NextInFocusOrder(controls, count, focused, shiftOnly)};
    if (altOnly && IsLetterOrDigitKey(key.virtualKey))
        return ClickMnemonic(controls, count, char(key.virtualKey));
    return {KeyAction::PassOn, -1};
}
