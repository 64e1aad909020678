// The single-instance guard: the name of the marker every copy creates at
// process start, whether an earlier copy holds it, and the guard OneInstance
// that activates the first copy and ends this one.
#pragma once

#include <cstdint>
#include <string>

namespace korbela {

inline constexpr uint32_t kErrorAccessDenied = 5;     // ERROR_ACCESS_DENIED
inline constexpr uint32_t kErrorAlreadyExists = 183;  // ERROR_ALREADY_EXISTS
inline constexpr char kApplicationWindowClass[] = "TApplication";
inline constexpr char kApplicationWindowTitle[] = "Korbela Lite";

// The program's full path upper-cased, of which the file name with its
// extension is taken: "C:\Apps\Korbela.exe" gives "KORBELA.EXE".
std::string InstanceMarkerName(const std::string& programPath);

// A marker that could not be made counts as no earlier copy, unless it was
// refused because an earlier copy holds it with rights this one lacks (the
// first copy runs elevated, say).
constexpr bool IsPreviousInstance(bool markerCreated, uint32_t lastError) {
    return markerCreated ? lastError == kErrorAlreadyExists : lastError == kErrorAccessDenied;
}

class IInstanceGuardPlatform {
public:
    using Window = std::uintptr_t;  // 0: no window

    virtual ~IInstanceGuardPlatform() = default;
    virtual void SetOwnApplicationText(const std::string& text) = 0;
    // A top-level window of that class and text.
    virtual Window FindApplicationWindow(const std::string& className, const std::string& title) = 0;
    virtual bool IsIconic(Window window) = 0;
    virtual void Restore(Window window) = 0;  // ShowWindow with SW_RESTORE
    virtual void SetForegroundWindow(Window window) = 0;
    // Posts the application's end request; it is taken when the message loop runs.
    virtual void RequestEnd() = 0;
};

// OneInstance in its one mode, oiActivateOnly: activate the first copy, show nothing.
class TOneInstance {
public:
    explicit TOneInstance(IInstanceGuardPlatform& platform) : platform_(platform) {}

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value) { enabled_ = value; }

    // The main window's components have been loaded. True when this copy has
    // asked to end: it then starts nothing more and writes nothing.
    bool Loaded(bool previousInstance);

private:
    IInstanceGuardPlatform& platform_;  // not owned
    bool enabled_ = true;
};

}  // namespace korbela
