// The shell's "open" verb: documents, folders and web addresses.
#pragma once

#include <string>

namespace korbela {

class IShell {
public:
    virtual ~IShell() = default;
    virtual void Open(const std::string& target) = 0;
};

}  // namespace korbela
