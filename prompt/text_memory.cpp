#include "prompt/text_memory.h"

#include <cstdlib>

#include "app/fatal_error.h"

char* AllocateText(size_t size)
{
    void* block = std::malloc(size);
    if (!block)
        EndWithFatalError(MemoryFailureText);
    return static_cast<char*>(block);
}

void ReleaseText(char* text) { std::free(text); }
