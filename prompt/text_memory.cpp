#include "prompt/text_memory.h"

#include <windows.h>

#include "app/fatal_error.h"

char* AllocateText(size_t size)
{
    void* block = HeapAlloc(GetProcessHeap(), 0, size);
    if (!block)
        EndWithFatalError(MemoryFailureText);
    return static_cast<char*>(block);
}

void ReleaseText(char* text) { HeapFree(GetProcessHeap(), 0, text); }
