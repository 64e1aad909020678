#include "win32/system/version_resource.h"

#include <windows.h>

#include <cstdint>
#include <cstring>

namespace korbela {
namespace {

std::string RunningExecutablePath() {
    // GetModuleFileNameA fills the whole buffer when the path is longer: grow it.
    for (DWORD bufferSize = MAX_PATH; bufferSize <= 32768; bufferSize *= 2) {
        std::string path(bufferSize, '\0');
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), bufferSize);
        if (length == 0) return std::string();
        if (length < bufferSize) {
            path.resize(length);
            return path;
        }
    }
    return std::string();
}

}  // namespace

Win32VersionResource::Win32VersionResource() : Win32VersionResource(RunningExecutablePath()) {}

Win32VersionResource::Win32VersionResource(const std::string& filePath) {
    if (filePath.empty()) return;
    DWORD ignored = 0;
    const DWORD blockSize = GetFileVersionInfoSizeA(filePath.c_str(), &ignored);
    if (blockSize == 0) return;
    std::vector<char> block(blockSize);
    if (!GetFileVersionInfoA(filePath.c_str(), 0, blockSize, block.data())) return;
    block_ = std::move(block);
}

std::optional<std::pair<uint16_t, uint16_t>> Win32VersionResource::FirstTranslation() {
    const auto found = Query("\\VarFileInfo\\Translation");
    if (!found || found->second < 2 * sizeof(WORD)) return std::nullopt;
    WORD pair[2] = {0, 0};
    std::memcpy(pair, found->first, sizeof(pair));
    return std::make_pair(static_cast<uint16_t>(pair[0]), static_cast<uint16_t>(pair[1]));
}

std::optional<std::string> Win32VersionResource::QueryString(const std::string& subBlock) {
    const auto found = Query(subBlock);
    if (!found) return std::nullopt;
    // The length counts characters and may or may not include the terminator.
    return std::string(found->first, strnlen(found->first, found->second));
}

std::optional<std::pair<const char*, std::size_t>> Win32VersionResource::Query(const std::string& subBlock) {
    if (block_.empty()) return std::nullopt;
    void* data = nullptr;
    UINT dataLength = 0;
    if (!VerQueryValueA(block_.data(), subBlock.c_str(), &data, &dataLength) || !data) return std::nullopt;
    // Never trust a length from inside a file: stay within the loaded block.
    const auto begin = reinterpret_cast<std::uintptr_t>(block_.data());
    const auto at = reinterpret_cast<std::uintptr_t>(data);
    if (at < begin || at >= begin + block_.size()) return std::nullopt;
    const std::size_t available = block_.size() - static_cast<std::size_t>(at - begin);
    const std::size_t length = dataLength < available ? static_cast<std::size_t>(dataLength) : available;
    return std::make_pair(static_cast<const char*>(data), length);
}

}  // namespace korbela
