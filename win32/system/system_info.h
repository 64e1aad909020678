// The version resource of an executable file, loaded once and queried
// through IVersionResource. Paths and text are UTF-8.
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
    explicit Win32VersionResource(const std::string& filePath);

    bool HasResource() override { return !block_.empty(); }
    std::optional<std::pair<uint16_t, uint16_t>> FirstTranslation() override;
    std::optional<std::string> QueryString(const std::string& subBlock) override;

private:
    // The bytes VerQueryValueW found for subBlock, checked to lie inside the
    // block. It reports strings in characters and other data in bytes: unitSize.
    std::optional<std::pair<const char*, std::size_t>> Query(const std::string& subBlock, std::size_t unitSize);

    std::vector<char> block_;
};

}  // namespace korbela
