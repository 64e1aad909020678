// Error kinds that reach the application-wide report.
#pragma once

#include <stdexcept>
#include <string>

namespace korbela {

// An error with the exact text the user is shown.
class KorbelaError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A silent abort: never reported.
class EAbort : public std::runtime_error {
public:
    EAbort() : std::runtime_error("Operation aborted") {}
};

class EOutOfMemory : public KorbelaError {
public:
    EOutOfMemory() : KorbelaError("Out of memory") {}
};

}  // namespace korbela
