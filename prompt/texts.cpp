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
__attribute__((no_sanitize_address)) size_t TextLength(const char* text)
{
    if (!text)
        return 0;
    const char* p = text;
    for (; reinterpret_cast<uintptr_t>(p) % 4 != 0; ++p) {
        if (*p == '\0')
            return size_t(p - text);
    }
    for (;; p += 4) {
        if (!HasZeroByteHint(*reinterpret_cast<const TextWord*>(p)))
            continue;
        for (int i = 0; i < 4; ++i) {
            if (p[i] == '\0')
                return size_t(p - text) + size_t(i);
        }
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
