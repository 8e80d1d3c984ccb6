#include "exam/cp1254.h"

#include <array>

namespace tovek {
namespace {

constexpr char32_t Undefined = 0xFFFD;

// 0x80..0x9F differ from Latin-1; 0xA0..0xFF follow Latin-1 except for the six Turkish letters below.
constexpr std::array<char32_t, 32> HighControls = {
    0x20AC, Undefined, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030,    0x0160, 0x2039, 0x0152, Undefined, Undefined, Undefined, //
    Undefined, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122,    0x0161, 0x203A, 0x0153, Undefined, Undefined, 0x0178,
};

constexpr char32_t turkishLetter(unsigned char byte)
{
    switch (byte) {
    case 0xD0: return 0x011E; // Ğ
    case 0xDD: return 0x0130; // İ
    case 0xDE: return 0x015E; // Ş
    case 0xF0: return 0x011F; // ğ
    case 0xFD: return 0x0131; // ı
    case 0xFE: return 0x015F; // ş
    default: return 0;
    }
}

} // namespace

char32_t decodeCp1254(unsigned char byte)
{
    if (byte < 0x80)
        return byte;
    if (byte < 0xA0)
        return HighControls[byte - 0x80];
    const char32_t letter = turkishLetter(byte);
    return letter ? letter : char32_t(byte);
}

std::optional<unsigned char> encodeCp1254(char32_t codePoint)
{
    if (codePoint < 0x80)
        return static_cast<unsigned char>(codePoint);
    if (codePoint >= 0xA0 && codePoint <= 0xFF) {
        // The Latin-1 letters whose places the Turkish letters took have no byte of their own.
        if (turkishLetter(static_cast<unsigned char>(codePoint)) != 0)
            return std::nullopt;
        return static_cast<unsigned char>(codePoint);
    }
    switch (codePoint) {
    case 0x011E: return 0xD0;
    case 0x0130: return 0xDD;
    case 0x015E: return 0xDE;
    case 0x011F: return 0xF0;
    case 0x0131: return 0xFD;
    case 0x015F: return 0xFE;
    default: break;
    }
    for (unsigned i = 0; i < HighControls.size(); ++i) {
        if (HighControls[i] == codePoint && codePoint != Undefined)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

} // namespace tovek
