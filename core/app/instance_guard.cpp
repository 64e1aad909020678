#include "core/app/instance_guard.h"

namespace korbela {

std::string InstanceMarkerName(const std::string& programPath) {
    std::string upper = programPath;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    const std::size_t separator = upper.find_last_of("\\/:");
    return separator == std::string::npos ? upper : upper.substr(separator + 1);
}

bool TOneInstance::Loaded(bool previousInstance) {
    if (!enabled_ || !previousInstance) return false;
    // Without its title this copy's own application window cannot be the one found.
    platform_.SetOwnApplicationText(std::string());
    const IInstanceGuardPlatform::Window first =
        platform_.FindApplicationWindow(kApplicationWindowClass, kApplicationWindowTitle);
    if (first != 0) {
        if (platform_.IsIconic(first)) {
            platform_.Restore(first);
        } else {
            platform_.SetForegroundWindow(first);
        }
    }
    platform_.RequestEnd();
    return true;
}

}  // namespace korbela
