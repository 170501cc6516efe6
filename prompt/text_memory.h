// Memory for the texts the program builds. Tests link another definition of these two
// functions to watch or refuse the allocations.
#pragma once

#include <stddef.h>

// Exactly `size` bytes, never null: with no memory to be had the program ends.
char* AllocateText(size_t size);

void ReleaseText(char* text);
