#include "win32/system/cpu_usage.h"

#include <utility>

#include "core/system/cpu_usage.h"

namespace korbela {

namespace {

constexpr char kCPUUsageValue[] = "KERNEL\\CPUUsage";

}  // namespace

long Win32PerfDataSource::QueryProcessorData(uint8_t* buffer, uint32_t& size) {
    DWORD byteCount = size;
    const LONG answer = RegQueryValueExA(performanceData_.Get(), perf::kProcessorObjectValueName,
                                         nullptr, nullptr, buffer, &byteCount);
    size = byteCount;
    return answer;
}

IDynDataSource::Key Win32DynDataSource::OpenKey(const std::string& path, bool fullAccess) {
    UniqueHKey key;
    if (RegOpenKeyExA(HKEY_DYN_DATA, path.c_str(), 0, fullAccess ? KEY_ALL_ACCESS : KEY_READ,
                      key.Receive()) != ERROR_SUCCESS ||
        !key) {
        return 0;
    }
    const auto id = reinterpret_cast<Key>(key.Get());
    open_[id] = std::move(key);
    return id;
}

bool Win32DynDataSource::ReadCPUUsage(Key key, uint32_t& percent) {
    const auto found = open_.find(key);
    if (found == open_.end()) return false;
    DWORD value = 0;
    DWORD byteCount = sizeof(value);
    if (RegQueryValueExA(found->second.Get(), kCPUUsageValue, nullptr, nullptr,
                         reinterpret_cast<BYTE*>(&value), &byteCount) != ERROR_SUCCESS ||
        byteCount != sizeof(value)) {
        return false;
    }
    percent = value;
    return true;
}

void Win32DynDataSource::CloseKey(Key key) { open_.erase(key); }

}  // namespace korbela
