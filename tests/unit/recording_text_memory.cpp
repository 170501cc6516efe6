// The text memory of the unit tests: real heap blocks, with every allocation's size and
// every released text recorded, so that tests can see what the routines asked for.
#include "recording_text_memory.h"

#include <windows.h>

TextMemoryRecord& RecordedTextMemory()
{
    static TextMemoryRecord record;
    return record;
}

char* AllocateText(size_t size)
{
    RecordedTextMemory().allocationSizes.push_back(size);
    return static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, size));
}

void ReleaseText(char* text)
{
    RecordedTextMemory().releasedTexts.emplace_back(text);
    HeapFree(GetProcessHeap(), 0, text);
}
