// Where a window of a given size stands when centred on the screen.
#pragma once

struct WindowOrigin {
    int x;
    int y;
};

// Centres on the whole screen, not its work area; halves are truncated toward zero.
constexpr WindowOrigin CentredOrigin(int screenWidth, int screenHeight, int width, int height)
{
    return {(screenWidth - width) / 2, (screenHeight - height) / 2};
}
