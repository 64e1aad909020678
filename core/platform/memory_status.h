// Physical memory status as the system reports it at the moment of the call.
#pragma once

#include <cstdint>

namespace korbela {

struct MemorySnapshot {
    uint64_t TotalPhys = 0;  // bytes
    uint64_t AvailPhys = 0;  // bytes
};

class IMemoryStatus {
public:
    virtual ~IMemoryStatus() = default;
    virtual MemorySnapshot Snapshot() = 0;
};

}  // namespace korbela
