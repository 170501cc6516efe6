// The host's text memory: malloc and free, with counts the fuzzer reads to see what
// JoinTexts asked for.
#pragma once

#include <stddef.h>

#include "prompt/text_memory.h"

struct HostTextMemory {
    size_t allocations;
    size_t releases;
    size_t lastSize;
};

extern HostTextMemory hostTextMemory;
