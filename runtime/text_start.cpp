#include "text_start.h"

namespace {

// Whether every byte at an even (`odd` false) or odd position is NUL: ASCII
// text in UTF-16 without a mark, little- or big-endian.
bool every_other_byte_nul(std::string_view head, bool odd) {
    const size_t pairs = head.size() / 2;
    for (size_t i = 0; i < pairs; ++i)
        if (head[2 * i + (odd ? 1 : 0)] != '\0') return false;
    return pairs > 0;
}

}  // namespace

TextStart classify_text_start(std::string_view head) {
    head = head.substr(0, TEXT_START_SAMPLE);
    if (head.starts_with("\xEF\xBB\xBF")) return TextStart::utf8_mark;
    if (head.starts_with("\xFF\xFE") || head.starts_with("\xFE\xFF")) return TextStart::utf16;
    if (every_other_byte_nul(head, false) || every_other_byte_nul(head, true)) return TextStart::utf16;
    return TextStart::plain;
}
