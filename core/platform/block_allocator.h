// Source of the 1 MiB blocks a freeing run claims and hands back.
#pragma once

#include <cstddef>

namespace korbela {

class IBlockAllocator {
public:
    virtual ~IBlockAllocator() = default;
    // Returns nullptr when the system cannot supply the block.
    virtual void* Allocate(std::size_t byteCount) = 0;
    // Gives a block back to the system; called exactly once per block.
    virtual void Release(void* block, std::size_t byteCount) = 0;
};

}  // namespace korbela
