// Physical memory status and the freeing run's blocks on Windows.
#pragma once

#include "core/system/memory.h"

namespace korbela {

class Win32MemoryStatus : public IMemoryStatus {
public:
    MemorySnapshot Snapshot() override;
};

// Blocks straight from the virtual memory manager, so that a released block
// really goes back to the system and shows as available at the next tick.
class VirtualBlockAllocator : public IBlockAllocator {
public:
    void* Allocate(std::size_t byteCount) override;
    void Release(void* block, std::size_t byteCount) override;
};

}  // namespace korbela
