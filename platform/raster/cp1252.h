// Code page 1252: the 8-bit character set of the platform's text and keyboard.
#pragma once

#include <cstdint>

namespace morlu::raster {

// The Unicode code point of a code page 1252 byte; the five bytes the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to themselves.
char32_t cp1252_to_unicode(uint8_t byte);
// The code page 1252 byte for a code point, or -1 when the code page has none.
int cp1252_from_unicode(char32_t cp);

}  // namespace morlu::raster
