#include "win32/system/os_version.h"

#include <windows.h>

namespace korbela {

std::optional<OsVersion> Win32OsVersion::Query() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
#if defined(_MSC_VER)
#pragma warning(push)
#pragma warning(disable : 4996)  // deprecated, but the only call that also answers on the 95 family
#endif
    const BOOL answered = GetVersionExA(&info);
#if defined(_MSC_VER)
#pragma warning(pop)
#endif
    if (!answered) return std::nullopt;
    return OsVersion{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

}  // namespace korbela
