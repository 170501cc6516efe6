// The keys a window handles before dispatch, with the exact modifier combinations.
#include <gtest/gtest.h>

#include <windows.h>

#include "ui/keyboard_rules.h"

namespace {

constexpr KeyStroke Key(unsigned key, bool ctrl = false, bool shift = false, bool alt = false)
{
    return {key, ctrl, shift, alt};
}

// The main window: one normal push button without a mnemonic.
const ControlState MainWindowControls[] = {{0, true, true, false, "\xB5\xE3\xBB\xF7 "}};

// A window with a normal button, a default button and a button marking "&S".
const ControlState ButtonRow[] = {
    {0, true, true, false, "Normal"},
    {1, true, true, true, "Default"},
    {2, true, true, false, "&Save"},
};

const char* ActionName(KeyAction action)
{
    switch (action) {
    case KeyAction::PassOn: return "PassOn";
    case KeyAction::Close: return "Close";
    case KeyAction::Click: return "Click";
    case KeyAction::MoveFocus: return "MoveFocus";
    }
    return "?";
}

}  // namespace

TEST(KeyboardRules, KeysOfTheMainWindow)
{
    struct Case {
        const char* what;
        KeyStroke key;
        KeyAction action;
        int control;
    };
    const Case cases[] = {
        {"Esc", Key(VK_ESCAPE), KeyAction::Close, -1},
        {"Ctrl+Esc", Key(VK_ESCAPE, true), KeyAction::PassOn, -1},
        {"Shift+Esc", Key(VK_ESCAPE, false, true), KeyAction::PassOn, -1},
        {"Alt+Esc", Key(VK_ESCAPE, false, false, true), KeyAction::PassOn, -1},
        {"Enter, no default button", Key(VK_RETURN), KeyAction::PassOn, -1},
        {"Tab", Key(VK_TAB), KeyAction::MoveFocus, 0},
        {"Shift+Tab", Key(VK_TAB, false, true), KeyAction::MoveFocus, 0},
        {"Ctrl+Tab", Key(VK_TAB, true), KeyAction::PassOn, -1},
        {"Alt+Tab", Key(VK_TAB, false, false, true), KeyAction::PassOn, -1},
        {"Alt+D, no mnemonic", Key('D', false, false, true), KeyAction::PassOn, -1},
        {"Alt+1, no mnemonic", Key('1', false, false, true), KeyAction::PassOn, -1},
        {"Space", Key(VK_SPACE), KeyAction::PassOn, -1},
        {"F1", Key(VK_F1), KeyAction::PassOn, -1},
        {"Alt+F4", Key(VK_F4, false, false, true), KeyAction::PassOn, -1},
        {"Down", Key(VK_DOWN), KeyAction::PassOn, -1},
    };
    for (const Case& c : cases) {
        KeyDecision decision = DecideKey(c.key, MainWindowControls, 1, 0, 0, true);
        EXPECT_STREQ(ActionName(decision.action), ActionName(c.action)) << c.what;
        EXPECT_EQ(decision.control, c.control) << c.what;
    }
}

TEST(KeyboardRules, EscClosesOnlyAWindowThatAsksForIt)
{
    EXPECT_EQ(DecideKey(Key(VK_ESCAPE), MainWindowControls, 1, -1, -1, true).action, KeyAction::Close);
    EXPECT_EQ(DecideKey(Key(VK_ESCAPE), MainWindowControls, 1, 0, 0, false).action, KeyAction::PassOn);
}

TEST(KeyboardRules, EnterClicksTheAddressedOrElseTheFirstDefaultButton)
{
    ControlState twoDefaults[] = {ButtonRow[0], ButtonRow[1], ButtonRow[1]};
    struct Case {
        const char* what;
        const ControlState* controls;
        int addressed;
        KeyAction action;
        int control;
    };
    const Case cases[] = {
        {"addressed to a normal button", ButtonRow, 0, KeyAction::Click, 1},
        {"addressed to the window", ButtonRow, -1, KeyAction::Click, 1},
        {"addressed to the second default button", twoDefaults, 2, KeyAction::Click, 2},
        {"addressed to a normal button, two defaults", twoDefaults, 0, KeyAction::Click, 1},
    };
    for (const Case& c : cases) {
        KeyDecision decision = DecideKey(Key(VK_RETURN), c.controls, 3, c.addressed, c.addressed, true);
        EXPECT_STREQ(ActionName(decision.action), ActionName(c.action)) << c.what;
        EXPECT_EQ(decision.control, c.control) << c.what;
    }
    EXPECT_EQ(DecideKey(Key(VK_RETURN, false, true), ButtonRow, 3, 0, 0, true).action, KeyAction::PassOn)
        << "Shift+Enter";
}

TEST(KeyboardRules, AltWithAMarkedCharacterClicksItsButton)
{
    struct Case {
        KeyStroke key;
        KeyAction action;
        int control;
    };
    const Case cases[] = {
        {Key('S', false, false, true), KeyAction::Click, 2},
        {Key('N', false, false, true), KeyAction::PassOn, -1},  // not marked
        {Key('S'), KeyAction::PassOn, -1},                      // without Alt
        {Key('S', true, false, true), KeyAction::PassOn, -1},   // Ctrl+Alt
        {Key('S', false, true, true), KeyAction::PassOn, -1},   // Shift+Alt
    };
    for (const Case& c : cases) {
        KeyDecision decision = DecideKey(c.key, ButtonRow, 3, 0, 0, true);
        EXPECT_EQ(decision.action, c.action) << char(c.key.virtualKey) << " ctrl " << c.key.ctrl
                                             << " shift " << c.key.shift << " alt " << c.key.alt;
        EXPECT_EQ(decision.control, c.control);
    }
}

TEST(KeyboardRules, TabMovesThroughTheFocusOrder)
{
    EXPECT_EQ(DecideKey(Key(VK_TAB), ButtonRow, 3, 0, 0, true).control, 1);
    EXPECT_EQ(DecideKey(Key(VK_TAB), ButtonRow, 3, 2, 2, true).control, 0);
    EXPECT_EQ(DecideKey(Key(VK_TAB, false, true), ButtonRow, 3, 0, 0, true).control, 2);
}

TEST(KeyboardRules, CaptionMnemonics)
{
    struct Case {
        const char* caption;
        char character;
        bool marked;
    };
    const Case cases[] = {
        {"&Save", 'S', true},  {"&save", 'S', true},  {"Sa&ve", 'V', true},
        {"Save", 'S', false},  {"&&Save", 'S', false}, {"&&&Save", 'S', true},
        {"Save&", 'S', false}, {"&1st", '1', true},    {nullptr, 'S', false},
        {"", 'S', false},      {"\xB5\xE3&\xBB\xF7", 'S', false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CaptionMarks(c.caption, c.character), c.marked)
            << (c.caption ? c.caption : "(none)") << " " << c.character;
}
