// Centring on the screen and the order in which controls take the focus.
#include <gtest/gtest.h>

#include "ui/focus_order.h"
#include "ui/placement.h"

TEST(Placement, CentresOnTheWholeScreenTruncatingHalves)
{
    struct Case {
        int screenWidth, screenHeight, x, y;
    };
    const Case cases[] = {
        {1920, 1080, 770, 415},
        {1366, 768, 493, 259},
        {1365, 768, 492, 259},
        {1365, 767, 492, 258},
        {380, 250, 0, 0},
        {379, 249, 0, 0},  // -0.5 truncates toward zero
        {300, 200, -40, -25},
    };
    for (const Case& c : cases) {
        WindowOrigin origin = CentredOrigin(c.screenWidth, c.screenHeight, 380, 250);
        EXPECT_EQ(origin.x, c.x) << c.screenWidth << "x" << c.screenHeight;
        EXPECT_EQ(origin.y, c.y) << c.screenWidth << "x" << c.screenHeight;
    }
}

namespace {

ControlState Focusable(int tabOrder) { return {tabOrder, true, true, false, ""}; }
ControlState NotFocusable(int tabOrder) { return {tabOrder, false, true, false, ""}; }

}  // namespace

TEST(FocusOrder, FirstIsTheLowestTabOrderTiesWonByTheLastDefined)
{
    const ControlState lowestInMiddle[] = {Focusable(2), Focusable(0), Focusable(1)};
    EXPECT_EQ(FirstInFocusOrder(lowestInMiddle, 3), 1);
    const ControlState tied[] = {Focusable(0), Focusable(1), Focusable(0)};
    EXPECT_EQ(FirstInFocusOrder(tied, 3), 2);
    const ControlState lowestCannotTakeIt[] = {NotFocusable(0), Focusable(5)};
    EXPECT_EQ(FirstInFocusOrder(lowestCannotTakeIt, 2), 1);
}

TEST(FocusOrder, NoneWhenNoControlTakesTheFocus)
{
    const ControlState none[] = {NotFocusable(0), NotFocusable(1)};
    EXPECT_EQ(FirstInFocusOrder(none, 2), -1);
    EXPECT_EQ(FirstInFocusOrder(none, 0), -1);
    EXPECT_EQ(NextInFocusOrder(none, 2, -1, false), -1);
    EXPECT_EQ(NextInFocusOrder(none, 2, 0, true), -1);
}

TEST(FocusOrder, NextAndPreviousWrapAround)
{
    // Focus order: 1 (tab 0), 3 (tab 1, later of the tie), 0 (tab 1), 2 is skipped.
    const ControlState controls[] = {Focusable(1), Focusable(0), NotFocusable(0), Focusable(1)};
    struct Case {
        int current;
        bool backwards;
        int expected;
    };
    const Case cases[] = {
        {1, false, 3}, {3, false, 0}, {0, false, 1},  // forwards, wrapping from the last
        {1, true, 0},  {0, true, 3},  {3, true, 1},   // backwards, wrapping from the first
        {-1, false, 1}, {-1, true, 0},                // from the window itself
        {2, false, 1}, {2, true, 0},                  // from a control outside the order
    };
    for (const Case& c : cases)
        EXPECT_EQ(NextInFocusOrder(controls, 4, c.current, c.backwards), c.expected)
            << "from " << c.current << (c.backwards ? " backwards" : " forwards");
}

TEST(FocusOrder, ASingleControlKeepsTheFocus)
{
    const ControlState single[] = {Focusable(0)};
    EXPECT_EQ(FirstInFocusOrder(single, 1), 0);
    EXPECT_EQ(NextInFocusOrder(single, 1, 0, false), 0);
    EXPECT_EQ(NextInFocusOrder(single, 1, 0, true), 0);
}
