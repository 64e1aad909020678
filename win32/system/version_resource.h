// The version resource of an executable file (by default the running one),
// loaded once and queried through IVersionResource.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/system/system_info.h"

namespace korbela {

class Win32VersionResource : public IVersionResource {
public:
    Win32VersionResource();  // the running executable
    explicit Win32VersionResource(const std::string& filePath);

    bool HasResource() override { return !block_.empty(); }
    std::optional<std::pair<uint16_t, uint16_t>> FirstTranslation() override;
    std::optional<std::string> QueryString(const std::string& subBlock) override;

private:
    // The bytes VerQueryValueA found for subBlock, checked to lie inside the block.
    std::optional<std::pair<const char*, std::size_t>> Query(const std::string& subBlock);

    std::vector<char> block_;
};

}  // namespace korbela
