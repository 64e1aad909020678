#include "win32/system/memory.h"

#include <windows.h>

namespace korbela {

MemorySnapshot Win32MemoryStatus::Snapshot() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    MemorySnapshot snapshot;
    if (GlobalMemoryStatusEx(&status)) {
        snapshot.TotalPhys = status.ullTotalPhys;
        snapshot.AvailPhys = status.ullAvailPhys;
    }
    return snapshot;
}

void* VirtualBlockAllocator::Allocate(std::size_t byteCount) {
    return VirtualAlloc(nullptr, byteCount, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void VirtualBlockAllocator::Release(void* block, std::size_t /*byteCount*/) {
    VirtualFree(block, 0, MEM_RELEASE);
}

}  // namespace korbela
