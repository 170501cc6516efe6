#include "byte_loop_length.h"

// Same contract as TextLength, null included. Built with -fno-builtin (and with GCC
// without loop pattern distribution) so that it stays a loop and not a strlen call.
extern "C" __attribute__((noinline)) size_t ByteLoopLength(const char* text)
{
    if (!text)
        return 0;
    size_t length = 0;
    while (text[length] != '\0')
        ++length;
    return length;
}
