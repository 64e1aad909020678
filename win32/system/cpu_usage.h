// Where the CPU sampler's readings come from on Windows: the processor object of the NT
// performance data, and the 95 family's dynamic statistics keys.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>

#include "core/system/cpu_usage.h"
#include "win32/system/unique_handle.h"

namespace korbela {

// RegQueryValueExA on HKEY_PERFORMANCE_DATA, value "238". The first query loads
// the performance providers behind the key; they stay loaded for the next ones
// and are let go with the source, as loading them again costs more than the
// whole of a usage tick.
class Win32PerfDataSource : public IPerfDataSource {
public:
    Win32PerfDataSource() = default;
    Win32PerfDataSource(const Win32PerfDataSource&) = delete;
    Win32PerfDataSource& operator=(const Win32PerfDataSource&) = delete;

    long QueryProcessorData(uint8_t* buffer, uint32_t& size) override;

private:
    // Closing the predefined key lets the providers go; it is harmless when
    // the key was never queried.
    UniqueHKey performanceData_{HKEY_PERFORMANCE_DATA};
};

// Keys under HKEY_DYN_DATA. The source owns every key it opened: one the sampler has not
// closed is closed with the source.
class Win32DynDataSource : public IDynDataSource {
public:
    Win32DynDataSource() = default;
    Win32DynDataSource(const Win32DynDataSource&) = delete;
    Win32DynDataSource& operator=(const Win32DynDataSource&) = delete;

    Key OpenKey(const std::string& path, bool fullAccess) override;
    bool ReadCPUUsage(Key key, uint32_t& percent) override;
    void CloseKey(Key key) override;

private:
    std::map<Key, UniqueHKey> open_;
};

}  // namespace korbela
