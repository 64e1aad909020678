// Operating system product name and the executable's file version.
#pragma once

#include <optional>
#include <string>
#include <vector>
#include <cstdint>

#include "core/system/os_version.h"

namespace korbela {

// Raises KorbelaError("Unrecognized operating system platform") for an unknown platform id.
std::string WindowsProductName(const OsVersion& version);

// Access to the running executable's version resource.
class IVersionResource {
public:
    virtual ~IVersionResource() = default;
    // First pair of "\VarFileInfo\Translation": language, code page. Empty without a resource.
    virtual bool HasResource() = 0;
    virtual std::optional<std::pair<uint16_t, uint16_t>> FirstTranslation() = 0;
    // VerQueryValue of a "StringFileInfo\..." path.
    virtual std::optional<std::string> QueryString(const std::string& subBlock) = 0;
};

class TExeInfo {
public:
    explicit TExeInfo(IVersionResource& resource);
    const std::string& FileVersion() const { return fileVersion_; }

private:
    std::string fileVersion_;
};

// "080904E4" for language 0x0809 and code page 0x04E4.
std::string TranslationKey(uint16_t language, uint16_t codePage);

}  // namespace korbela
