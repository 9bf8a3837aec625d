// Face names resolved to font files through fontconfig, as the desktop does.
#pragma once

#include <cstdint>
#include <string>

namespace morlu::raster {

// The font file fontconfig chose for a face name and style.
struct FontFile {
    std::string path;
    int32_t index = 0;   // face inside a collection file
    std::string family;  // the family actually chosen, which differs from the name on a fallback
};

// Resolve a face name; an unknown name falls back the way desktop font matching
// does. Each (name, weight, italic, monospace) is resolved once per process.
// Returns nullptr when fontconfig is unavailable or knows no font at all.
const FontFile* match_font_file(const std::string& face, int32_t weight, bool italic, bool monospace);

}  // namespace morlu::raster
