// Text from a submission (its output, its logs, its compiler's messages) made
// safe to store and show: valid UTF-8, no control characters but newlines and
// tabs; and the escapes of HTML and CSV.
#pragma once

#include <string>
#include <string_view>

namespace morlu::check {

std::string clean_text(std::string_view text);
std::string html_escape(std::string_view text);
std::string csv_field(std::string_view text);
// Store `message` in `error` and return false: how the readers report what they refuse.
inline bool fail(std::string& error, const std::string& message) {
    error = message;
    return false;
}
// A number as a stream writes it: 2, 0.5, 2.25.
std::string format_number(double v);
// The last `lines` lines of `text`.
std::string last_lines(const std::string& text, int lines);

}  // namespace morlu::check
