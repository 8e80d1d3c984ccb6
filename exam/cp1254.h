#pragma once
// The Turkish Windows code page, which the documents we write declare and word processors expect.

#include <optional>

namespace tovek {

// The single byte that stands for the character, or nothing when the code page has no such character.
std::optional<unsigned char> encodeCp1254(char32_t codePoint);

// The character a byte stands for; bytes the code page leaves undefined give U+FFFD.
char32_t decodeCp1254(unsigned char byte);

} // namespace tovek
