// The text memory of a test build of the program in which no memory can be had: each
// allocation ends the program the way the program's own does when the heap refuses.
#include "prompt/text_memory.h"

#include "app/fatal_error.h"

char* AllocateText(size_t) { EndWithFatalError(MemoryFailureText); }

void ReleaseText(char*) {}
