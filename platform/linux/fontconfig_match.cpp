// Face names resolved through fontconfig, once per name and style while the answer is kept.
#include "fontconfig_match.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <memory>
#include <optional>

namespace morlu::raster {
namespace {

const FcChar8* fc_text(const char* s) {
    return reinterpret_cast<const FcChar8*>(s);
}

// The platform's weight 0 means "any", which is the normal weight.
int32_t normal_weight(int32_t weight) {
    return weight <= 0 ? 400 : std::min(weight, 1000);
}

// The request as a fontconfig pattern. A name is added as it is rather than
// through FcNameParse, whose syntax would read "MORLU-font" as the family
// "MORLU" at a size of "font". Then comes the face the platform falls back to
// when the name matches nothing: "monospace" when a fixed pitch is wanted,
// otherwise its proportional default, Arial, which fontconfig's metric
// aliases resolve to an Arial-metric face (Liberation Sans) where one is
// installed, so text measures as it does on the platform; without one, the
// default sans.
FcPattern* request_pattern(const std::string& face, int32_t weight, bool italic, bool monospace) {
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return nullptr;
    if (!face.empty()) FcPatternAddString(pattern, FC_FAMILY, fc_text(face.c_str()));
    FcPatternAddString(pattern, FC_FAMILY, fc_text(monospace ? "monospace" : "Arial"));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    // Text is scaled to any em, so bitmap-only faces are of no use.
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    return pattern;
}

std::optional<FontFile> file_of(FcPattern* match) {
    FcChar8* path = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &path) != FcResultMatch) return std::nullopt;
    FontFile file;
    file.path = reinterpret_cast<const char*>(path);
    int index = 0;
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) file.index = index;
    FcChar8* family = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch)
        file.family = reinterpret_cast<const char*>(family);
    return file;
}

// This layer's own configuration, read from the desktop's configuration files.
// Owning it, rather than using fontconfig's implicit global one, frees it at
// exit and leaves a toolkit in the same process free to use fontconfig its way.
FcConfig* font_config() {
    using Owned = std::unique_ptr<FcConfig, decltype(&FcConfigDestroy)>;
    static const Owned config(FcInitLoadConfigAndFonts(), &FcConfigDestroy);
    return config.get();
}

// Substitute and match the way desktop programs do: the configuration's
// aliases first, then its defaults, then the best installed font.
std::optional<FontFile> resolve(const std::string& face, int32_t weight, bool italic, bool monospace) {
    FcConfig* config = font_config();
    if (!config) return std::nullopt;
    FcPattern* pattern = request_pattern(face, weight, italic, monospace);
    if (!pattern) return std::nullopt;
    std::optional<FontFile> file;
    if (FcConfigSubstitute(config, pattern, FcMatchPattern)) {
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        if (FcPattern* match = FcFontMatch(config, pattern, &result)) {
            file = file_of(match);
            FcPatternDestroy(match);
        }
    }
    FcPatternDestroy(pattern);
    return file;
}

}  // namespace

std::optional<FontFile> FontMatcher::match(const std::string& face,
                                           int32_t weight,
                                           bool italic,
                                           bool monospace) {
    weight = normal_weight(weight);
    return answers_.get({face, weight, italic, monospace},
                        [&] { return resolve(face, weight, italic, monospace); });
}

}  // namespace morlu::raster
