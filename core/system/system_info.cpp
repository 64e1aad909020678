// Product name of the running Windows and the executable's file version.
#include "core/system/system_info.h"

#include <cstdio>
#include <utility>

#include "core/system/errors.h"

namespace korbela {
namespace {

enum class Family { NT, Win9x, Win32s };

struct ProductRow {
    Family Platform;
    uint32_t Major;
    uint32_t Minor;
    const char* Name;
};

// Every version not listed has no name: NT 3.51, Windows 7 and later, Win32s.
constexpr ProductRow kProducts[] = {
    {Family::NT, 3, 0, "Windows NT"},
    {Family::NT, 4, 0, "Windows NT"},
    {Family::NT, 5, 0, "Windows 2000"},
    {Family::NT, 5, 1, "Windows XP"},
    {Family::NT, 5, 2, "Windows 2003"},
    // The server line of NT 6.0 reports the same numbers and gets the same name.
    {Family::NT, 6, 0, "Windows Vista"},
    {Family::Win9x, 4, 0, "Windows 95"},
    {Family::Win9x, 4, 10, "Windows 98"},
    {Family::Win9x, 4, 90, "Windows Me"},
};

Family FamilyOf(uint32_t platformId) {
    switch (platformId) {
        case kPlatformWin32NT: return Family::NT;
        case kPlatformWin32Windows: return Family::Win9x;
        case kPlatformWin32s: return Family::Win32s;
        default: throw KorbelaError("Unrecognized operating system platform");
    }
}

constexpr const char* kUpdatedAtRunTime = "Updated at run-time";

}  // namespace

std::string WindowsProductName(const OsVersion& version) {
    const Family family = FamilyOf(version.PlatformId);
    for (const ProductRow& row : kProducts) {
        if (row.Platform == family && row.Major == version.Major && row.Minor == version.Minor) {
            return row.Name;
        }
    }
    return std::string();
}

std::string TranslationKey(uint16_t language, uint16_t codePage) {
    char key[9];
    std::snprintf(key, sizeof(key), "%04X%04X", static_cast<unsigned>(language), static_cast<unsigned>(codePage));
    return key;
}

TExeInfo::TExeInfo(IVersionResource& resource) : fileVersion_(kUpdatedAtRunTime) {
    if (!resource.HasResource()) return;
    // A resource whose first translation (or its FileVersion entry) is missing
    // has no version text to show.
    fileVersion_.clear();
    const std::optional<std::pair<uint16_t, uint16_t>> translation = resource.FirstTranslation();
    if (!translation) return;
    const std::string key = TranslationKey(translation->first, translation->second);
    if (std::optional<std::string> text = resource.QueryString("StringFileInfo\\" + key + "\\FileVersion")) {
        fileVersion_ = std::move(*text);
    }
}

}  // namespace korbela
