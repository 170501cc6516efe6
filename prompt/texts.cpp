#include "prompt/texts.h"

#include <stdint.h>
#include <string.h>

#include "prompt/text_memory.h"

namespace {

// A 32-bit word that may be read from memory holding chars.
typedef uint32_t __attribute__((may_alias)) TextWord;

bool HasZeroByteHint(uint32_t word)
{
    // Nonzero for every word that holds a zero byte, and for some that hold none.
    return (((word + 0x7EFEFEFFu) ^ ~word) & 0x81010100u) != 0;
}

}  // namespace

// Reads a word at a time once aligned to 4 bytes. The aligned word that holds the NUL may
// reach up to three bytes past it, never across a page: hence no address sanitizing here.
// The byte steps are spelt out and the function starts a cache line, so that short texts
// are measured as fast as by a byte loop and the word loop never straddles two lines.
__attribute__((no_sanitize_address, aligned(64))) size_t TextLength(const char* text)
{
    if (!text)
        return 0;
    const char* p = text;
    switch (reinterpret_cast<uintptr_t>(p) % 4) {
    case 1:
        if (*p == '\0')
            return size_t(p - text);
        ++p;
        [[fallthrough]];
    case 2:
        if (*p == '\0')
            return size_t(p - text);
        ++p;
        [[fallthrough]];
    case 3:
        if (*p == '\0')
            return size_t(p - text);
        ++p;
    }
    for (;; p += 4) {
        if (!HasZeroByteHint(*reinterpret_cast<const TextWord*>(p)))
            continue;
        // The first NUL from the lowest address up; a word without one was a false hint.
        if (p[0] == '\0')
            return size_t(p - text);
        if (p[1] == '\0')
            return size_t(p - text) + 1;
        if (p[2] == '\0')
            return size_t(p - text) + 2;
        if (p[3] == '\0')
            return size_t(p - text) + 3;
    }
}

char* JoinMeasuredTexts(size_t count, const char* const* texts, const size_t* lengths)
{
    size_t size = 1;
    for (size_t i = 0; i < count; ++i) {
        // A sum past the address space cannot be had: ask for all of it, which fails.
        size = lengths[i] > SIZE_MAX - size ? SIZE_MAX : size + lengths[i];
    }
    char* joined = AllocateText(size);
    char* end = joined;
    for (size_t i = 0; i < count; ++i) {
        if (lengths[i] != 0)
            memcpy(end, texts[i], lengths[i]);
        end += lengths[i];
    }
    *end = '\0';
    return joined;
}
