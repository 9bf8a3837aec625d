// The fonts a program opened, one per distinct request, and the edition's font
// service with its own caches: one object, owned by whoever draws text (the
// platform state), so that ending it ends every cache of text.
#pragma once

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "bounded_cache.h"
#include "font_service.h"

namespace morlu::raster {

class FontCache {
public:
    // A program that makes a new font for every call asks for the same few
    // requests again and again; this many distinct ones are kept.
    static constexpr size_t FONT_LIMIT = 64;

    FontCache();
    ~FontCache();
    FontCache(FontCache&&) noexcept;
    FontCache& operator=(FontCache&&) noexcept;

    // Resolve a request; the same request gives the same font while it is
    // cached. nullptr (and nothing is drawn) only when no font is installed.
    std::shared_ptr<const Font> open(const FontRequest& request);

    // How full each cache is: the fonts', then the service's.
    std::vector<CacheFill> fill() const;

private:
    using RequestKey = std::tuple<std::string, int32_t, int32_t, bool, bool>;

    // Made on first use, so that a platform state that draws no text costs nothing.
    std::unique_ptr<FontService> service_;
    BoundedCache<RequestKey, std::shared_ptr<const Font>> fonts_{FONT_LIMIT};
};

}  // namespace morlu::raster
