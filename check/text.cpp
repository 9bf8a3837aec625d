// UTF-8 checking by hand: a decoder that only says how long a valid sequence is.
#include "text.h"

#include <sstream>

namespace morlu::check {
namespace {

// The length of the valid UTF-8 sequence at s[i], or 0.
size_t sequence_length(std::string_view s, size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    size_t n = 0;
    unsigned min = 0;
    unsigned value = 0;
    if (b < 0x80) return 1;
    if ((b & 0xE0) == 0xC0)
        n = 2, min = 0x80, value = b & 0x1F;
    else if ((b & 0xF0) == 0xE0)
        n = 3, min = 0x800, value = b & 0x0F;
    else if ((b & 0xF8) == 0xF0)
        n = 4, min = 0x10000, value = b & 0x07;
    else
        return 0;
    if (i + n > s.size()) return 0;
    for (size_t k = 1; k < n; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80) return 0;
        value = (value << 6) | (c & 0x3F);
    }
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    return value < min || value > 0x10FFFF || surrogate ? 0 : n;
}

}  // namespace

std::string clean_text(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t n = sequence_length(text, i);
        const auto c = static_cast<unsigned char>(text[i]);
        if (n == 0) {
            out += "\xEF\xBF\xBD";  // U+FFFD, the replacement character
            ++i;
        } else if (n == 1 && (c < 0x20 || c == 0x7F) && c != '\n' && c != '\t') {
            if (c != '\r') out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(text.substr(i, n));
            i += n;
        }
    }
    return out;
}

std::string html_escape(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string csv_field(std::string_view text) {
    // A leading = + - @ makes a spreadsheet compute the field; a quote in front stops it.
    const bool formula =
        !text.empty() && (text[0] == '=' || text[0] == '+' || text[0] == '-' || text[0] == '@');
    std::string out = formula ? "\"'" : "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string format_number(double v) {
    std::ostringstream s;
    s << v;
    return s.str();
}

std::string last_lines(const std::string& text, int lines) {
    size_t pos = text.size();
    if (pos > 0 && text[pos - 1] == '\n') --pos;
    for (int i = 0; i < lines; ++i) {
        const size_t newline = pos == 0 ? std::string::npos : text.rfind('\n', pos - 1);
        if (newline == std::string::npos) return text;
        pos = newline;
    }
    return text.substr(pos + 1);
}

}  // namespace morlu::check
