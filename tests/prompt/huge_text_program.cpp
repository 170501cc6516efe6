// Test program: asks the program's own text memory for a text larger than the address
// space (two lengths whose sum overflows), which the heap must refuse.
#include <windows.h>

#include <stdint.h>

#include "prompt/texts.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const char* texts[] = {"a", "b"};
    const size_t lengths[] = {SIZE_MAX / 2 + 1, SIZE_MAX / 2 + 1};
    JoinMeasuredTexts(2, texts, lengths);
    return 0;  // not reached: the allocation ends the program
}
