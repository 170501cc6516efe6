// Expected texts for the tests, as the GBK bytes the program hands to the system.
#pragma once

#include <string>

// The bytes of a NUL-terminated text, to compare with an expected byte string.
inline std::string Bytes(const char* text) { return text ? std::string(text) : std::string(); }
