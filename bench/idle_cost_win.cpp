// Idle cost of the real program: korbela.exe left in the tray with fresh
// settings (one tick a second), against an empty Win32 message loop, both
// started from here and left alone for the same time. Prints the CPU time of
// each as seconds per hour, their working sets, and the ratios.
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "harness/korbela_process.h"
#include "harness/process_resources.h"

namespace {

constexpr DWORD kWarmUpMs = 3000;  // start-up is not idling
constexpr DWORD kIdleMs = 20000;  // keeps the whole benchmark step of the test script short
constexpr char kSettingsPath[] = "software\\Quillmarsh\\Korbela Lite";
constexpr char kRunPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string BinFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

// Registry values saved before the run and put back after it, so that the
// fresh settings of the run leave a user's own as they were. With no value
// name the whole key is saved, and removed for the run.
class SavedRegistryValues {
public:
    SavedRegistryValues(HKEY root, const char* path, const char* valueName)
        : root_(root), path_(path), valueName_(valueName != nullptr ? valueName : "") {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root_, path_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
        keyExisted_ = true;
        for (DWORD index = 0;; ++index) {
            char name[256] = {};
            DWORD nameSize = sizeof(name);
            DWORD type = 0;
            DWORD dataSize = 0;
            if (RegEnumValueA(key, index, name, &nameSize, nullptr, &type, nullptr, &dataSize) != ERROR_SUCCESS) break;
            if (!valueName_.empty() && lstrcmpiA(name, valueName_.c_str()) != 0) continue;
            Value value{name, type, std::vector<BYTE>(dataSize)};
            DWORD readSize = dataSize;
            if (RegQueryValueExA(key, name, nullptr, &type, value.data.data(), &readSize) == ERROR_SUCCESS) {
                value.data.resize(readSize);
                values_.push_back(std::move(value));
            }
        }
        RegCloseKey(key);
    }
    ~SavedRegistryValues() { Restore(); }
    SavedRegistryValues(const SavedRegistryValues&) = delete;
    SavedRegistryValues& operator=(const SavedRegistryValues&) = delete;

    void Remove() const {
        if (valueName_.empty()) {
            RegDeleteTreeA(root_, path_.c_str());
            return;
        }
        HKEY key = nullptr;
        if (RegOpenKeyExA(root_, path_.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, valueName_.c_str());
            RegCloseKey(key);
        }
    }

private:
    struct Value {
        std::string name;
        DWORD type;
        std::vector<BYTE> data;
    };

    void Restore() const {
        Remove();
        if (!keyExisted_ || (!valueName_.empty() && values_.empty())) return;
        HKEY key = nullptr;
        if (RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS) {
            return;
        }
        for (const Value& value : values_) {
            RegSetValueExA(key, value.name.c_str(), 0, value.type, value.data.data(),
                           static_cast<DWORD>(value.data.size()));
        }
        RegCloseKey(key);
    }

    HKEY root_;
    std::string path_;
    std::string valueName_;
    bool keyExisted_ = false;
    std::vector<Value> values_;
};

// The start of SYSTEM_PROCESS_INFORMATION (64-bit layout on 64-bit builds).
struct ProcessListEntry {
    ULONG nextEntryOffset;
    ULONG numberOfThreads;
    LARGE_INTEGER workingSetPrivateSize;
    ULONG hardFaultCount;
    ULONG numberOfThreadsHighWatermark;
    ULONGLONG cycleTime;
    LARGE_INTEGER createTime;
    LARGE_INTEGER userTime;
    LARGE_INTEGER kernelTime;
    UNICODE_STRING imageName;
    LONG basePriority;
    HANDLE uniqueProcessId;
};

constexpr ULONG kSystemProcessInformation = 5;

// Wine 8's GetProcessTimes for another process reports the caller's own
// times; its process list carries each process's own, summed over its threads.
double CpuSecondsFromProcessList(DWORD processId) {
    const std::vector<char> buffer = korbela::wine::QuerySystemInformation(kSystemProcessInformation);
    for (std::size_t offset = 0; offset + sizeof(ProcessListEntry) <= buffer.size();) {
        ProcessListEntry entry{};
        std::memcpy(&entry, buffer.data() + offset, sizeof(entry));
        if (static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(entry.uniqueProcessId)) == processId) {
            return static_cast<double>(entry.userTime.QuadPart + entry.kernelTime.QuadPart) / 1e7;
        }
        if (entry.nextEntryOffset == 0) break;
        offset += entry.nextEntryOffset;
    }
    return -1;
}

double FileTimeSeconds(const FILETIME& time) {
    ULARGE_INTEGER value{};
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 1e7;
}

// Kernel plus user time.
double CpuSeconds(HANDLE process, DWORD processId) {
    if (korbela::wine::RunningUnderWine()) return CpuSecondsFromProcessList(processId);
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
    return FileTimeSeconds(kernel) + FileTimeSeconds(user);
}

// A started program, ended by a message to one of its windows.
class IdleProgram {
public:
    IdleProgram(const char* name, std::string path, const char* windowClass, UINT endMessage, WPARAM endParam)
        : name_(name), path_(std::move(path)), windowClass_(windowClass), endMessage_(endMessage),
          endParam_(endParam) {}
    ~IdleProgram() {
        if (info_.hProcess == nullptr) return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 1);
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
    IdleProgram(const IdleProgram&) = delete;
    IdleProgram& operator=(const IdleProgram&) = delete;

    bool Start() {
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        std::string commandLine = "\"" + path_ + "\"";
        if (!CreateProcessA(path_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &info_)) {
            std::fprintf(stderr, "idle_cost: cannot start %s (error %lu)\n", path_.c_str(), GetLastError());
            return false;
        }
        return true;
    }
    // Its window is there and it has not ended by itself.
    bool WaitReady(DWORD timeoutMs) {
        for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
            if (WaitForSingleObject(info_.hProcess, 0) != WAIT_TIMEOUT) return false;
            if (Window() != nullptr) return true;
            Sleep(100);
        }
        return false;
    }
    bool Alive() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
    double Cpu() const { return CpuSeconds(info_.hProcess, info_.dwProcessId); }
    PROCESS_MEMORY_COUNTERS Memory() const {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof(counters);
        GetProcessMemoryInfo(info_.hProcess, &counters, sizeof(counters));
        return counters;
    }
    // Asks it to end and reports whether it did, with exit code 0.
    bool End() {
        HWND window = Window();
        if (window != nullptr) PostMessageA(window, endMessage_, endParam_, 0);
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(info_.hProcess, 15000) != WAIT_OBJECT_0 ||
            !GetExitCodeProcess(info_.hProcess, &code) || code != 0) {
            std::fprintf(stderr, "idle_cost: %s did not end cleanly (exit code %lu)\n", name_, code);
            return false;
        }
        return true;
    }
    const char* Name() const { return name_; }

private:
    HWND Window() const { return korbela::wine::FindProcessWindow(info_.dwProcessId, windowClass_); }

    const char* name_;
    std::string path_;
    const char* windowClass_;
    UINT endMessage_;
    WPARAM endParam_;
    PROCESS_INFORMATION info_{};
};

double MB(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

}  // namespace

int main() {
    const std::string folder = BinFolder();
    // Fresh settings for the run; the machine's own come back afterwards.
    const SavedRegistryValues settings(HKEY_CURRENT_USER, kSettingsPath, nullptr);
    const SavedRegistryValues record(HKEY_LOCAL_MACHINE, kSettingsPath, nullptr);
    const SavedRegistryValues runValue(HKEY_LOCAL_MACHINE, kRunPath, "Korbela");
    settings.Remove();

    // Exit Korbela Lite is command 7 of the tray menu; the tray window is a
    // hidden top-level window.
    IdleProgram korbela("korbela", folder + "korbela.exe", "KorbelaTrayWindow", WM_COMMAND, 7);
    IdleProgram empty("empty loop", folder + "empty_loop_win.exe", "KorbelaEmptyLoop", WM_CLOSE, 0);
    if (!korbela.Start() || !empty.Start()) return 1;
    if (!korbela.WaitReady(30000) || !empty.WaitReady(30000)) {
        std::fprintf(stderr, "idle_cost: a program did not come up (is Korbela Lite already running?)\n");
        return 1;
    }
    Sleep(kWarmUpMs);

    const double korbelaStart = korbela.Cpu();
    const double emptyStart = empty.Cpu();
    const ULONGLONG wallStart = GetTickCount64();
    Sleep(kIdleMs);
    const double korbelaCpu = korbela.Cpu() - korbelaStart;
    const double emptyCpu = empty.Cpu() - emptyStart;
    const double hours = static_cast<double>(GetTickCount64() - wallStart) / 3.6e6;
    const PROCESS_MEMORY_COUNTERS korbelaMemory = korbela.Memory();
    const PROCESS_MEMORY_COUNTERS emptyMemory = empty.Memory();
    const bool bothIdled = korbela.Alive() && empty.Alive();
    const bool korbelaEnded = korbela.End();
    const bool emptyEnded = empty.End();
    if (!bothIdled || korbelaStart < 0 || emptyStart < 0) {
        std::fprintf(stderr, "idle_cost: no CPU figures (a program ended early or its times cannot be read)\n");
        return 1;
    }

    const double korbelaPerHour = korbelaCpu / hours;
    const double emptyPerHour = emptyCpu / hours;
    std::printf("idle_cost: %.0f s idle at 1 s ticks, CPU time from %s\n", kIdleMs / 1000.0,
                korbela::wine::RunningUnderWine() ? "the process list (Wine)" : "GetProcessTimes");
    char cpuRatio[64] = "n/a (the empty loop used no measurable CPU)";
    if (emptyCpu > 0) std::snprintf(cpuRatio, sizeof(cpuRatio), "%.1f", korbelaPerHour / emptyPerHour);
    std::printf("idle_cost: CPU korbela %.2f s/h, empty loop %.2f s/h; ratio %s\n", korbelaPerHour, emptyPerHour,
                cpuRatio);
    std::printf("idle_cost: working set korbela %.1f MB (peak %.1f MB), empty loop %.1f MB (peak %.1f MB); "
                "ratio %.2f\n",
                MB(korbelaMemory.WorkingSetSize), MB(korbelaMemory.PeakWorkingSetSize), MB(emptyMemory.WorkingSetSize),
                MB(emptyMemory.PeakWorkingSetSize),
                static_cast<double>(korbelaMemory.WorkingSetSize) /
                    static_cast<double>(emptyMemory.WorkingSetSize > 0 ? emptyMemory.WorkingSetSize : 1));
    return korbelaEnded && emptyEnded ? 0 : 1;
}
