// How a text file begins. Windows editors and shells save text with a UTF-8
// byte-order mark, or as UTF-16 (PowerShell 5.1's ">" does); morlu reads its
// tapes and MORLU.SCR as UTF-8 lines, so the mark is skipped and UTF-16 refused
// with a message, rather than read as lines that mean nothing.
#pragma once

#include <cstddef>
#include <string_view>

enum class TextStart {
    plain,      // no mark: read from the first byte
    utf8_mark,  // EF BB BF: read from the byte after it
    utf16,      // a UTF-16 mark (FF FE, FE FF), or every other byte NUL
};

constexpr size_t UTF8_MARK_LENGTH = 3;
// How many of the first bytes classify_text_start needs to see.
constexpr size_t TEXT_START_SAMPLE = 64;

// Classify a file from its first bytes (up to TEXT_START_SAMPLE of them).
TextStart classify_text_start(std::string_view head);
