// Fuzzing of the text routines under AddressSanitizer and UndefinedBehaviorSanitizer.
// The first input byte steers the layout; the other bytes are text, a NUL ending a text.
//
// TextLength sees the text twice:
//  - ending in the last aligned word before a page that may not be read, its NUL at the
//    place in that word picked by the first byte (the start alignment then follows from
//    the length, so all four come up). Any read past the NUL's word faults, and the word
//    before the text is zeroed, so that reading before the start gives a wrong length.
//  - in a heap block of exactly its size, where AddressSanitizer watches the bytes after
//    the NUL: the reads of the rest of the NUL's word must not be reported.
// JoinTexts joins two or three pieces of the input (cut at its NULs), each in its own
// exact heap block, and is compared with std::string; it must allocate exactly once, the
// length of the pieces plus one.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "host_text_memory.h"
#include "prompt/texts.h"

namespace {

void Check(bool holds, const char* what)
{
    if (!holds) {
        fprintf(stderr, "texts_fuzzer: %s\n", what);
        abort();
    }
}

// Readable pages followed by one that may not be read; large enough for any input.
struct GuardedMemory {
    char* readable;
    size_t size;
};

const GuardedMemory& Guarded()
{
    static const GuardedMemory memory = [] {
        size_t page = size_t(sysconf(_SC_PAGESIZE));
        size_t readable = (size_t(1) << 20) / page * page;
        void* start = mmap(nullptr, readable + page, PROT_READ | PROT_WRITE,
                           MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        Check(start != MAP_FAILED, "mmap failed");
        char* bytes = static_cast<char*>(start);
        Check(mprotect(bytes + readable, page, PROT_NONE) == 0, "mprotect failed");
        return GuardedMemory{bytes, readable};
    }();
    return memory;
}

// `text` copied with its NUL into its own heap block, starting `offset` bytes in so that
// it starts at that alignment (the allocator's blocks are aligned to at least 8).
struct HeapText {
    HeapText(const std::string& text, size_t offset)
        : block(static_cast<char*>(malloc(offset + text.size() + 1))), start(block + offset)
    {
        Check(block != nullptr, "malloc failed");
        memset(block, 'x', offset);
        memcpy(start, text.c_str(), text.size() + 1);
    }
    ~HeapText() { free(block); }
    HeapText(const HeapText&) = delete;
    HeapText& operator=(const HeapText&) = delete;

    char* block;
    char* start;
};

void CheckLengthBeforeGuardPage(const std::string& text, size_t nulPlace,
                                const std::string& after)
{
    const GuardedMemory& memory = Guarded();
    if (text.size() + 8 > memory.size)
        return;
    char* wordEnd = memory.readable + memory.size;
    char* nul = wordEnd - 4 + nulPlace;
    char* start = nul - text.size();
    memset(start - 4, 0, 4);
    memcpy(start, text.data(), text.size());
    *nul = '\0';
    // The rest of the NUL's word: whatever followed the NUL in the input, else 0xFF.
    for (char* p = nul + 1; p < wordEnd; ++p) {
        size_t i = size_t(p - nul - 1);
        *p = i < after.size() ? after[i] : '\xFF';
    }
    Check(TextLength(start) == text.size(), "TextLength before the guard page is wrong");
}

void CheckJoin(const std::vector<std::string>& pieces, size_t offset, bool emptyAbsent)
{
    std::vector<HeapText*> heap;
    std::vector<const char*> texts;
    std::string expected;
    for (size_t i = 0; i < pieces.size(); ++i) {
        heap.push_back(new HeapText(pieces[i], (offset + i) % 4));
        texts.push_back(emptyAbsent && pieces[i].empty() ? nullptr : heap.back()->start);
        expected += pieces[i];
    }

    HostTextMemory before = hostTextMemory;
    char* joined = pieces.size() == 2 ? JoinTexts({texts[0], texts[1]})
                                      : JoinTexts({texts[0], texts[1], texts[2]});
    Check(hostTextMemory.allocations == before.allocations + 1,
          "JoinTexts did not allocate exactly once");
    Check(hostTextMemory.lastSize == expected.size() + 1,
          "JoinTexts allocated other than the joined length plus one");
    Check(memcmp(joined, expected.c_str(), expected.size() + 1) == 0,
          "JoinTexts joined other bytes than std::string");
    ReleaseText(joined);

    for (HeapText* text : heap)
        delete text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t steer = data[0];
    const size_t nulPlace = steer & 3;
    const size_t heapOffset = (steer >> 2) & 3;
    const size_t pieceCount = steer & 0x10 ? 3 : 2;
    const bool emptyAbsent = (steer & 0x20) != 0;
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);

    // The input cut at its NULs; the first part is the text TextLength measures.
    std::vector<std::string> parts;
    for (size_t from = 0;;) {
        size_t nul = input.find('\0', from);
        parts.push_back(input.substr(from, nul == std::string::npos ? nul : nul - from));
        if (nul == std::string::npos)
            break;
        from = nul + 1;
    }
    const std::string& text = parts[0];
    const std::string after = text.size() < input.size() ? input.substr(text.size() + 1) : "";

    CheckLengthBeforeGuardPage(text, nulPlace, after);
    HeapText heapText(text, heapOffset);
    Check(TextLength(heapText.start) == text.size(), "TextLength in a heap block is wrong");
    Check(TextLength(nullptr) == 0, "TextLength of an absent text is not 0");

    parts.resize(pieceCount);
    CheckJoin(parts, heapOffset, emptyAbsent);
    return 0;
}
