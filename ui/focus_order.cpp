#include "ui/focus_order.h"

// Focus order: ascending tab order; among equal tab orders the later control comes first,
// so that the first in the order is also the one a window gives the focus to.
static bool ComesBefore(const ControlState* controls, int a, int b)
{
    if (controls[a].tabOrder != controls[b].tabOrder)
        return controls[a].tabOrder < controls[b].tabOrder;
    return a > b;
}

// The focusable control nearest to `from` in the given direction, or -1.
// With `from` at -1 it is the first (or last) of all.
static int Neighbour(const ControlState* controls, int count, int from, bool backwards)
{
    int best = -1;
    for (int i = 0; i < count; ++i) {
        if (!controls[i].takesFocus || i == from)
            continue;
        bool beyondFrom = from < 0 || (backwards ? ComesBefore(controls, i, from)
                                                 : ComesBefore(controls, from, i));
        bool nearer = best < 0 || (backwards ? ComesBefore(controls, best, i)
                                             : ComesBefore(controls, i, best));
        if (beyondFrom && nearer)
            best = i;
    }
    return best;
}

int FirstInFocusOrder(const ControlState* controls, int count)
{
    return Neighbour(controls, count, -1, false);
}

int NextInFocusOrder(const ControlState* controls, int count, int current, bool backwards)
{
    bool inOrder = current >= 0 && current < count && controls[current].takesFocus;
    if (inOrder) {
        int next = Neighbour(controls, count, current, backwards);
        if (next >= 0)
            return next;
    }
    // Wrap around, or start from the end of the order.
    return Neighbour(controls, count, -1, backwards);
}
