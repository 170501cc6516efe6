// What the program's routines asked of the text memory in the unit tests.
#pragma once

#include <string>
#include <vector>

#include "prompt/text_memory.h"

struct TextMemoryRecord {
    std::vector<size_t> allocationSizes;
    std::vector<std::string> releasedTexts;
};

TextMemoryRecord& RecordedTextMemory();
