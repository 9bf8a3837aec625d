#include "cp1252.h"

namespace morlu::raster {
namespace {

// 0x80..0x9F, the only range where the code page differs from Latin-1.
constexpr char32_t HIGH_CONTROLS[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

char32_t cp1252_to_unicode(uint8_t byte) {
    if (byte >= 0x80 && byte <= 0x9F) return HIGH_CONTROLS[byte - 0x80];
    return byte;
}

int cp1252_from_unicode(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i)
        if (HIGH_CONTROLS[i] == cp) return 0x80 + i;
    return -1;
}

}  // namespace morlu::raster
