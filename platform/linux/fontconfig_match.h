// Face names resolved to font files through fontconfig, as the desktop does.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>

#include "../raster/bounded_cache.h"

namespace morlu::raster {

// The font file fontconfig chose for a face name and style.
struct FontFile {
    std::string path;
    int32_t index = 0;   // face inside a collection file
    std::string family;  // the family actually chosen, which differs from the name on a fallback
};

// fontconfig's answers, kept per (name, weight, italic, monospace): a match
// reads the configuration and compares every installed font.
class FontMatcher {
public:
    static constexpr size_t ANSWER_LIMIT = 256;

    // Resolve a face name; an unknown name falls back the way desktop font
    // matching does. Nothing when fontconfig is unavailable or knows no font.
    std::optional<FontFile> match(const std::string& face, int32_t weight, bool italic, bool monospace);

    CacheFill fill() const {
        return answers_.fill();
    }

private:
    using MatchKey = std::tuple<std::string, int32_t, bool, bool>;
    BoundedCache<MatchKey, std::optional<FontFile>> answers_{ANSWER_LIMIT};
};

}  // namespace morlu::raster
