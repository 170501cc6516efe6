// Texts the program builds at run time: NUL-terminated byte strings, an absent (null)
// text read as an empty one.
#pragma once

#include <stddef.h>

// The number of bytes before the first NUL; 0 for an absent text.
size_t TextLength(const char* text);

// Joins texts whose lengths were measured into one new text, owned by the caller and
// released with ReleaseText. Runs out of memory only by ending the program.
char* JoinMeasuredTexts(size_t count, const char* const* texts, const size_t* lengths);

// A new text holding the given texts one after another, each measured once.
template <size_t Count>
char* JoinTexts(const char* const (&texts)[Count])
{
    static_assert(Count >= 1, "JoinTexts takes at least one text");
    size_t lengths[Count];
    for (size_t i = 0; i < Count; ++i)
        lengths[i] = TextLength(texts[i]);
    return JoinMeasuredTexts(Count, texts, lengths);
}
