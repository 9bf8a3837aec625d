// Fonts cached by request, over the edition's font service.
#include "font_cache.h"

namespace morlu::raster {

FontCache::FontCache() = default;
FontCache::~FontCache() = default;
FontCache::FontCache(FontCache&&) noexcept = default;
FontCache& FontCache::operator=(FontCache&&) noexcept = default;

std::shared_ptr<const Font> FontCache::open(const FontRequest& request) {
    if (!service_) service_ = make_font_service();
    const RequestKey key{request.face, request.height, request.weight, request.italic, request.monospace};
    return fonts_.get(key, [&] { return service_->open(request); });
}

std::vector<CacheFill> FontCache::fill() const {
    std::vector<CacheFill> fills{fonts_.fill()};
    if (service_) {
        const std::vector<CacheFill> own = service_->fill();
        fills.insert(fills.end(), own.begin(), own.end());
    }
    return fills;
}

}  // namespace morlu::raster
