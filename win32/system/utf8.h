// The program keeps its text in UTF-8; the system's wide (...W) calls take
// UTF-16. Every crossing between the two goes through this pair, so that a
// path outside the ANSI code page reaches the system unchanged.
#pragma once

#include <string>
#include <string_view>

namespace korbela {

// Invalid sequences come out as U+FFFD; an empty result for empty input or
// text too long for the system's int lengths.
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

}  // namespace korbela
