#include "host_text_memory.h"

#include <stdio.h>
#include <stdlib.h>

HostTextMemory hostTextMemory;

char* AllocateText(size_t size)
{
    void* block = malloc(size);
    if (!block) {
        fprintf(stderr, "no memory for a text of %zu bytes\n", size);
        abort();
    }
    ++hostTextMemory.allocations;
    hostTextMemory.lastSize = size;
    return static_cast<char*>(block);
}

void ReleaseText(char* text)
{
    ++hostTextMemory.releases;
    free(text);
}
