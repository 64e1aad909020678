// The physical memory: its status, and the blocks a freeing run claims.
#pragma once

#include <cstddef>
#include <cstdint>

namespace korbela {

// Physical memory status as the system reports it at the moment of the call.
struct MemorySnapshot {
    uint64_t TotalPhys = 0;  // bytes
    uint64_t AvailPhys = 0;  // bytes
};

class IMemoryStatus {
public:
    virtual ~IMemoryStatus() = default;
    virtual MemorySnapshot Snapshot() = 0;
};

// Source of the 1 MiB blocks a freeing run claims and hands back.
class IBlockAllocator {
public:
    virtual ~IBlockAllocator() = default;
    // Returns nullptr when the system cannot supply the block.
    virtual void* Allocate(std::size_t byteCount) = 0;
    // Gives a block back to the system; called exactly once per block.
    virtual void Release(void* block, std::size_t byteCount) = 0;
};

}  // namespace korbela
