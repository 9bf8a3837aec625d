// A map with a limit, for the caches behind text: what programs ask for again
// and again is made once, and a program that asks for ever new things cannot
// make the cache grow without end.
#pragma once

#include <cstddef>
#include <map>
#include <utility>

namespace morlu::raster {

// How full a cache is: entries held and the most it may hold.
struct CacheFill {
    size_t entries = 0;
    size_t limit = 0;
};

// At most `limit` entries. A new entry that finds the cache full first drops
// every entry: values are shared pointers or copies, so whoever holds one keeps
// it, and dropping costs only the work of making the others again.
template <class Key, class Value>
class BoundedCache {
public:
    explicit BoundedCache(size_t limit) : limit_(limit) {
    }

    // The value for `key`, made by `make()` when the cache has none. The
    // reference lasts until the next call; callers copy what they keep.
    template <class Make>
    const Value& get(const Key& key, Make&& make) {
        if (const auto it = entries_.find(key); it != entries_.end()) return it->second;
        Value value = std::forward<Make>(make)();
        if (entries_.size() >= limit_) entries_.clear();
        return entries_.emplace(key, std::move(value)).first->second;
    }

    CacheFill fill() const {
        return {entries_.size(), limit_};
    }

private:
    size_t limit_;
    std::map<Key, Value> entries_;
};

}  // namespace morlu::raster
