#include "win32/system/system_info.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <cwchar>

#include "win32/system/utf8.h"

namespace korbela {

Win32VersionResource::Win32VersionResource(const std::string& filePath) {
    if (filePath.empty()) return;
    const std::wstring path = Utf8ToWide(filePath);
    DWORD ignored = 0;
    const DWORD blockSize = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (blockSize == 0) return;
    std::vector<char> block(blockSize);
    if (!GetFileVersionInfoW(path.c_str(), 0, blockSize, block.data())) return;
    block_ = std::move(block);
}

std::optional<std::pair<uint16_t, uint16_t>> Win32VersionResource::FirstTranslation() {
    const auto found = Query("\\VarFileInfo\\Translation", 1);
    if (!found || found->second < 2 * sizeof(WORD)) return std::nullopt;
    WORD pair[2] = {0, 0};
    std::memcpy(pair, found->first, sizeof(pair));
    return std::make_pair(static_cast<uint16_t>(pair[0]), static_cast<uint16_t>(pair[1]));
}

std::optional<std::string> Win32VersionResource::QueryString(const std::string& subBlock) {
    const auto found = Query(subBlock, sizeof(wchar_t));
    if (!found) return std::nullopt;
    // The length counts characters and may or may not include the terminator.
    std::wstring text(found->second / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), found->first, text.size() * sizeof(wchar_t));
    text.resize(std::wcslen(text.c_str()));
    return WideToUtf8(text);
}

std::optional<std::pair<const char*, std::size_t>> Win32VersionResource::Query(const std::string& subBlock,
                                                                                std::size_t unitSize) {
    if (block_.empty()) return std::nullopt;
    const std::wstring path = Utf8ToWide(subBlock);
    void* data = nullptr;
    UINT dataLength = 0;
    if (!VerQueryValueW(block_.data(), path.c_str(), &data, &dataLength) || !data) return std::nullopt;
    // Never trust a length from inside a file: stay within the loaded block.
    const auto begin = reinterpret_cast<std::uintptr_t>(block_.data());
    const auto at = reinterpret_cast<std::uintptr_t>(data);
    if (at < begin || at >= begin + block_.size()) return std::nullopt;
    const std::size_t available = block_.size() - static_cast<std::size_t>(at - begin);
    const std::size_t availableUnits = available / unitSize;
    const std::size_t length = dataLength < availableUnits ? static_cast<std::size_t>(dataLength) * unitSize
                                                           : availableUnits * unitSize;
    return std::make_pair(static_cast<const char*>(data), length);
}

}  // namespace korbela
