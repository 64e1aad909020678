#include "win32/system/utf8.h"

#include <windows.h>

#include <limits>

namespace korbela {

std::wstring Utf8ToWide(std::string_view text) {
    if (text.empty() || text.size() > static_cast<std::size_t>((std::numeric_limits<int>::max)())) {
        return std::wstring();
    }
    const int textLength = static_cast<int>(text.size());
    const int wideCount = MultiByteToWideChar(CP_UTF8, 0, text.data(), textLength, nullptr, 0);
    if (wideCount <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(wideCount), L'\0');
    const int written = MultiByteToWideChar(CP_UTF8, 0, text.data(), textLength, wide.data(), wideCount);
    wide.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return wide;
}

std::string WideToUtf8(std::wstring_view text) {
    if (text.empty() || text.size() > static_cast<std::size_t>((std::numeric_limits<int>::max)())) {
        return std::string();
    }
    const int textCount = static_cast<int>(text.size());
    const int utf8Length = WideCharToMultiByte(CP_UTF8, 0, text.data(), textCount, nullptr, 0, nullptr, nullptr);
    if (utf8Length <= 0) return std::string();
    std::string utf8(static_cast<std::size_t>(utf8Length), '\0');
    const int written =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), textCount, utf8.data(), utf8Length, nullptr, nullptr);
    utf8.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return utf8;
}

}  // namespace korbela
