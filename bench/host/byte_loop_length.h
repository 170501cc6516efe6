// The plain measure TextLength is compared with: one byte at a time.
#pragma once

#include <stddef.h>

// Unmangled, so that run.sh can find its code with objdump --disassemble=ByteLoopLength.
extern "C" size_t ByteLoopLength(const char* text);
