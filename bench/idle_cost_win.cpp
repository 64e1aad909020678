// Idle cost of the real program: korbela.exe left in the tray with fresh
// settings (one tick a second) against two baselines started beside it and
// left alone for the same time: an empty Win32 message loop and a minimal
// tray program with common controls. Prints the CPU time of each as seconds
// per hour, working sets and private bytes, and korbela's ratios to both.
//
// Under Wine the test performance provider is registered for the run, so that
// the program's CPU reading works as it does on Windows. How much of the
// program's CPU goes into that reading is measured twice: korbela is run again
// for the same time with its reading stopped (automatic freeing on and no
// provider: the first reading fails and the program reads no more), and the
// query itself is timed in this process.
//
// The tray icon that shows the memory in use must cost next to nothing: the
// run with the reading stopped is two copies side by side, one with the icon
// off and one with it on, and their CPU figures are compared. Under Wine the
// programs' CPU times come from the kernel's scheduler statistics of their
// Linux processes, in nanoseconds: the process list's 10 ms ticks are too
// coarse for a program that idles, let alone for figures a few percent apart.
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "harness/korbela_process.h"
#include "harness/process_resources.h"
#include "harness/registry_access.h"
#include "harness/test_perf_provider.h"
#include "win32/system/unique_handle.h"
#include "win32/window/control_ids.h"

namespace {

constexpr DWORD kWarmUpMs = 3000;  // start-up is not idling
// Two idle spans of korbela keep the whole benchmark under a minute.
constexpr DWORD kIdleMs = 15000;
// The query alone, timed in this process: as many calls as fit, one every
// kQueryGapMs (back to back they cost more than once a second).
constexpr DWORD kQueryMs = 1500;
constexpr DWORD kQueryGapMs = 100;
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
        korbela::UniqueHKey key;
        if (RegOpenKeyExA(root_, path_.c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS) return;
        keyExisted_ = true;
        for (DWORD index = 0;; ++index) {
            char name[256] = {};
            DWORD nameSize = sizeof(name);
            DWORD type = 0;
            DWORD dataSize = 0;
            if (RegEnumValueA(key.Get(), index, name, &nameSize, nullptr, &type, nullptr, &dataSize) != ERROR_SUCCESS) {
                break;
            }
            if (!valueName_.empty() && lstrcmpiA(name, valueName_.c_str()) != 0) continue;
            Value value{name, type, std::vector<BYTE>(dataSize)};
            DWORD readSize = dataSize;
            if (RegQueryValueExA(key.Get(), name, nullptr, &type, value.data.data(), &readSize) == ERROR_SUCCESS) {
                value.data.resize(readSize);
                values_.push_back(std::move(value));
            }
        }
    }
    ~SavedRegistryValues() { Restore(); }
    SavedRegistryValues(const SavedRegistryValues&) = delete;
    SavedRegistryValues& operator=(const SavedRegistryValues&) = delete;

    void Remove() const {
        if (valueName_.empty()) {
            RegDeleteTreeA(root_, path_.c_str());
            return;
        }
        korbela::UniqueHKey key;
        if (RegOpenKeyExA(root_, path_.c_str(), 0, KEY_SET_VALUE, key.Receive()) == ERROR_SUCCESS) {
            RegDeleteValueA(key.Get(), valueName_.c_str());
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
        korbela::UniqueHKey key;
        if (RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Receive(), nullptr) !=
            ERROR_SUCCESS) {
            return;
        }
        for (const Value& value : values_) {
            RegSetValueExA(key.Get(), value.name.c_str(), 0, value.type, value.data.data(),
                           static_cast<DWORD>(value.data.size()));
        }
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

// A file's whole text; empty when it cannot be read. Files under /proc give
// no size, so it is read until its end.
std::string ReadWholeFile(const std::string& path) {
    const korbela::UniqueKernelHandle file(
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE || !file) return std::string();
    std::string text;
    char chunk[512];
    DWORD read = 0;
    while (ReadFile(file.Get(), chunk, sizeof(chunk), &read, nullptr) && read > 0) text.append(chunk, read);
    return text;
}

// The CPU time of the one running program whose command line names the image,
// from /proc/<pid>/schedstat (Wine maps the root folder to Z:); -1 when there
// is no such process or it cannot be read.
double SchedulerCpuSeconds(const char* image) {
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return -1;
    double seconds = -1;
    do {
        const std::string pid = found.cFileName;
        if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
        std::string commandLine = ReadWholeFile("Z:\\proc\\" + pid + "\\cmdline");
        for (char& c : commandLine) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (commandLine.find(image) == std::string::npos) continue;
        const std::string stats = ReadWholeFile("Z:\\proc\\" + pid + "\\schedstat");
        if (!stats.empty()) seconds = std::strtod(stats.c_str(), nullptr) / 1e9;
        break;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return seconds;
}

// A started program, ended by a message to one of its windows.
class IdleProgram {
public:
    IdleProgram(const char* name, std::string path, const char* windowClass, UINT endMessage, WPARAM endParam)
        : name_(name), path_(std::move(path)), windowClass_(windowClass), endMessage_(endMessage),
          endParam_(endParam) {}
    ~IdleProgram() {
        if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) TerminateProcess(process_.Get(), 1);
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
        process_.Reset(info_.hProcess);
        thread_.Reset(info_.hThread);
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
    // Under Wine from the scheduler: the process list's 10 ms ticks are too
    // coarse for a program that idles.
    double Cpu() const {
        if (!korbela::wine::RunningUnderWine()) return CpuSeconds(info_.hProcess, info_.dwProcessId);
        std::string image = path_.substr(path_.find_last_of("\\/"));
        for (char& c : image) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        image[0] = '\\';
        return SchedulerCpuSeconds(image.c_str());
    }
    PROCESS_MEMORY_COUNTERS_EX Memory() const {
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof(counters);
        GetProcessMemoryInfo(info_.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof(counters));
        return counters;
    }
    DWORD Id() const { return info_.dwProcessId; }
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
    PROCESS_INFORMATION info_{};  // its handles owned by process_ and thread_
    korbela::UniqueKernelHandle process_;
    korbela::UniqueKernelHandle thread_;
};

double MB(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

// A ratio to a baseline, or why there is none.
std::string Ratio(double value, double baseline, const char* format) {
    if (baseline <= 0) return "n/a (the baseline used none measurable)";
    char text[32] = {};
    std::snprintf(text, sizeof(text), format, value / baseline);
    return text;
}

// What one program did over the idle span.
struct IdleFigures {
    double cpuPerHour = 0;
    PROCESS_MEMORY_COUNTERS_EX memory{};
};

// Wine 8 leaves PrivateUsage at 0; its PagefileUsage is the process's resident
// anonymous memory, the nearest figure it has.
bool PrivateUsageKnown(const IdleFigures& figures) { return figures.memory.PrivateUsage != 0; }
SIZE_T PrivateBytes(const IdleFigures& figures) {
    return PrivateUsageKnown(figures) ? figures.memory.PrivateUsage : figures.memory.PagefileUsage;
}

// Leaves the started programs alone for the idle span and reads their figures;
// false when one of them ended or its times cannot be read.
bool MeasureIdle(const std::vector<IdleProgram*>& programs, std::vector<IdleFigures>& figures) {
    std::vector<double> start;
    for (const IdleProgram* program : programs) start.push_back(program->Cpu());
    const ULONGLONG wallStart = GetTickCount64();
    Sleep(kIdleMs);
    const double hours = static_cast<double>(GetTickCount64() - wallStart) / 3.6e6;
    figures.assign(programs.size(), IdleFigures{});
    bool ok = true;
    for (std::size_t i = 0; i < programs.size(); ++i) {
        const double end = programs[i]->Cpu();
        figures[i].memory = programs[i]->Memory();
        if (start[i] < 0 || end < 0 || !programs[i]->Alive()) {
            std::fprintf(stderr, "idle_cost: no figures of %s (it ended early or its times cannot be read)\n",
                         programs[i]->Name());
            ok = false;
        }
        figures[i].cpuPerHour = (end - start[i]) / hours;
    }
    return ok;
}

// The program's own query, HKEY_PERFORMANCE_DATA "238", repeated here for
// kQueryMs: CPU seconds per call, or -1 when it fails.
double QueryCpuSecondsPerCall(int& calls) {
    // Closed at the end, as the program closes it: the providers are let go.
    const korbela::UniqueHKey performanceData(HKEY_PERFORMANCE_DATA);
    std::vector<BYTE> buffer(64 * 1024);
    auto query = [&buffer, &performanceData] {
        for (;;) {
            DWORD size = static_cast<DWORD>(buffer.size());
            const LONG answer = RegQueryValueExA(performanceData.Get(), "238", nullptr, nullptr, buffer.data(), &size);
            if (answer != ERROR_MORE_DATA) return answer == ERROR_SUCCESS;
            if (buffer.size() >= 16u * 1024 * 1024) return false;
            buffer.resize(buffer.size() * 2);
        }
    };
    calls = 0;
    if (!query()) return -1;  // the first one also finds the buffer size
    const double cpuStart = CpuSeconds(GetCurrentProcess(), GetCurrentProcessId());
    const ULONGLONG wallStart = GetTickCount64();
    while (GetTickCount64() - wallStart < kQueryMs || calls < 5) {
        if (!query()) return -1;
        ++calls;
        Sleep(kQueryGapMs);
    }
    const double cpu = CpuSeconds(GetCurrentProcess(), GetCurrentProcessId()) - cpuStart;
    return cpuStart < 0 ? -1 : cpu / calls;
}

// The first tick of a program whose reading fails with automatic freeing on
// unticks and disables the box: it has stopped reading for this run.
bool ReadingStopped(DWORD processId) {
    return korbela::wine::WaitUntil(
        [processId] {
            HWND main = korbela::wine::FindProcessWindow(processId, "TfrmKRmain");
            HWND box = main != nullptr ? GetDlgItem(main, korbela::ctrl::chbAuto_Free) : nullptr;
            return box != nullptr && !IsWindowEnabled(box);
        },
        std::chrono::seconds(10));
}

void PrintProgram(const char* name, const IdleFigures& figures) {
    std::printf("idle_cost:   %-28s CPU %7.2f s/h   working set %5.1f MB (peak %5.1f MB)   private %5.1f MB\n", name,
                figures.cpuPerHour, MB(figures.memory.WorkingSetSize), MB(figures.memory.PeakWorkingSetSize),
                MB(PrivateBytes(figures)));
}

void PrintRatios(const IdleFigures& korbela, const char* baselineName, const IdleFigures& baseline) {
    std::printf("idle_cost:   korbela / %-12s CPU %s   working set %s   private %s\n", baselineName,
                Ratio(korbela.cpuPerHour, baseline.cpuPerHour, "%.1f").c_str(),
                Ratio(static_cast<double>(korbela.memory.WorkingSetSize),
                      static_cast<double>(baseline.memory.WorkingSetSize), "%.2f")
                    .c_str(),
                Ratio(static_cast<double>(PrivateBytes(korbela)), static_cast<double>(PrivateBytes(baseline)), "%.2f")
                    .c_str());
}

// Korbela with its reading stopped, twice side by side over the same moments:
// the program itself with the program icon, and a copy under another name
// (the instance guard goes by the name) that reads "Tray Icon Usage" on at
// its start. With the reading stopped the query's cost, which varies from call
// to call by far more than the icon could add, is left out. The program's
// figures in `stopped`, and each copy's CPU seconds per hour; false when a
// figure is missing.
bool IdleStoppedWithAndWithoutUsageIcon(const std::string& folder, IdleFigures& stopped, double& programIcon,
                                        double& usageIcon) {
    const std::string plainPath = folder + "korbela.exe";
    const std::string copyPath = folder + "korbela-usage-icon.exe";
    if (!CopyFileA(plainPath.c_str(), copyPath.c_str(), FALSE)) return false;
    korbela::wine::WriteDword(HKEY_CURRENT_USER, kSettingsPath, "Tray Icon Usage", 0);
    IdleProgram plain("korbela (reading stopped)", plainPath, "KorbelaTrayWindow", WM_COMMAND, 7);
    bool ok = plain.Start() && plain.WaitReady(30000);
    korbela::wine::WriteDword(HKEY_CURRENT_USER, kSettingsPath, "Tray Icon Usage", 1);
    {
        IdleProgram usage("korbela (usage icon)", copyPath, "KorbelaTrayWindow", WM_COMMAND, 7);
        ok = ok && usage.Start() && usage.WaitReady(30000) && ReadingStopped(plain.Id()) && ReadingStopped(usage.Id());
        if (ok) {
            Sleep(kWarmUpMs);
            std::vector<IdleFigures> figures;
            ok = MeasureIdle({&plain, &usage}, figures);
            stopped = figures[0];
            programIcon = figures[0].cpuPerHour;
            usageIcon = figures[1].cpuPerHour;
        } else {
            std::fprintf(stderr, "idle_cost: the copies did not come up or did not stop reading the CPU\n");
        }
        ok = usage.End() && ok;
    }
    ok = plain.End() && ok;
    korbela::wine::WriteDword(HKEY_CURRENT_USER, kSettingsPath, "Tray Icon Usage", 0);
    DeleteFileA(copyPath.c_str());
    return ok;
}

}  // namespace

int main() {
    const std::string folder = BinFolder();
    const bool wine = korbela::wine::RunningUnderWine();
    // Fresh settings for the run; the machine's own come back afterwards.
    const SavedRegistryValues settings(HKEY_CURRENT_USER, kSettingsPath, nullptr);
    const SavedRegistryValues record(HKEY_LOCAL_MACHINE, kSettingsPath, nullptr);
    const SavedRegistryValues runValue(HKEY_LOCAL_MACHINE, kRunPath, "Korbela");
    settings.Remove();

    // Windows has a Processor object of its own; Wine answers with the test
    // provider's.
    std::optional<korbela::wine::TestPerfProvider> provider;
    if (wine) {
        provider.emplace();
        if (!provider->Registered()) {
            std::fprintf(stderr, "idle_cost: korbela_test_perf.dll is missing; the CPU reading will fail\n");
        }
    }

    // Exit Korbela Lite is command 7 of the tray menu; the tray window is a
    // hidden top-level window.
    const std::string korbelaPath = folder + "korbela.exe";
    IdleProgram korbela("korbela", korbelaPath, "KorbelaTrayWindow", WM_COMMAND, 7);
    IdleProgram empty("empty loop", folder + "empty_loop_win.exe", "KorbelaEmptyLoop", WM_CLOSE, 0);
    IdleProgram tray("tray loop", folder + "tray_loop_win.exe", "KorbelaTrayLoop", WM_CLOSE, 0);
    if (!korbela.Start() || !empty.Start() || !tray.Start()) return 1;
    if (!korbela.WaitReady(30000) || !empty.WaitReady(30000) || !tray.WaitReady(30000)) {
        std::fprintf(stderr, "idle_cost: a program did not come up (is Korbela Lite already running?)\n");
        return 1;
    }
    Sleep(kWarmUpMs);
    const DWORD collectsBefore = provider ? provider->Collects() : 0;
    std::vector<IdleFigures> figures;
    const bool idled = MeasureIdle({&korbela, &empty, &tray}, figures);
    const DWORD providerCollects = provider ? provider->Collects() - collectsBefore : 0;
    const bool ended = korbela.End() && empty.End() && tray.End();
    if (!idled) return 1;
    const IdleFigures& reading = figures[0];

    // The query alone, as the program makes it once a tick.
    int queryCalls = 0;
    const double queryCpuPerCall = QueryCpuSecondsPerCall(queryCalls);

    // Korbela again with its reading stopped, with and without the usage icon:
    // Wine only, where taking the provider away makes the reading fail (on
    // Windows it would work, and automatic freeing would run).
    std::optional<IdleFigures> stopped;
    double iconOff = -1, iconOn = -1;
    bool stoppedMeasured = true;
    if (wine) {
        provider.reset();
        korbela::wine::WriteDword(HKEY_CURRENT_USER, kSettingsPath, "Automatic RAM Freeing", 1);
        IdleFigures figures;
        stoppedMeasured = IdleStoppedWithAndWithoutUsageIcon(folder, figures, iconOff, iconOn);
        if (stoppedMeasured) stopped = figures;
    }

    std::printf("idle_cost: %.0f s idle at 1 s ticks, hidden in the tray, CPU time from %s\n", kIdleMs / 1000.0,
                wine ? "the scheduler (Wine: /proc/<pid>/schedstat, in ns)" : "GetProcessTimes");
    if (wine) {
        std::printf("idle_cost: CPU reading %s (the test provider answered %lu queries while korbela idled)\n",
                    providerCollects > 0 ? "works" : "FAILED", providerCollects);
    } else {
        std::printf("idle_cost: CPU reading from the system's own Processor object\n");
    }
    std::printf("idle_cost: private bytes are %s\n",
                PrivateUsageKnown(reading) ? "PrivateUsage"
                                           : "PagefileUsage (PrivateUsage reads 0; under Wine PagefileUsage is "
                                             "the resident anonymous memory)");
    PrintProgram("korbela", reading);
    if (stopped) PrintProgram("korbela, reading stopped", *stopped);
    PrintProgram("empty loop", figures[1]);
    PrintProgram("tray loop (common controls)", figures[2]);
    PrintRatios(reading, "empty loop", figures[1]);
    PrintRatios(reading, "tray loop", figures[2]);

    std::printf("idle_cost: the performance-data query:\n");
    if (queryCpuPerCall >= 0) {
        const double perHour = queryCpuPerCall * 3600.0;
        std::printf("idle_cost:   alone in this process: %.2f ms CPU per call (%d calls), at one a second "
                    "%.2f s/h = %.0f%% of korbela's CPU\n",
                    queryCpuPerCall * 1000.0, queryCalls, perHour,
                    reading.cpuPerHour > 0 ? 100.0 * perHour / reading.cpuPerHour : 0.0);
    } else {
        std::printf("idle_cost:   alone in this process: the query failed\n");
    }
    if (stopped) {
        const double share = reading.cpuPerHour - stopped->cpuPerHour;
        std::printf("idle_cost:   korbela reading minus korbela stopped: %.2f s/h = %.0f%% of korbela's CPU; "
                    "without it korbela uses %.2f s/h\n",
                    share, reading.cpuPerHour > 0 ? 100.0 * share / reading.cpuPerHour : 0.0,
                    stopped->cpuPerHour);
    }
    if (wine) {
        std::printf("idle_cost: the usage icon, two copies %.0f s idle side by side, reading stopped:\n",
                    kIdleMs / 1000.0);
        if (stoppedMeasured && iconOff > 0) {
            std::printf("idle_cost:   program icon %.3f s/h   usage icon %.3f s/h   usage / program %.3f\n", iconOff,
                        iconOn, iconOn / iconOff);
        } else {
            std::printf("idle_cost:   not measured (a run failed or /proc cannot be read)\n");
        }
    }
    return ended && stoppedMeasured && (!wine || iconOff > 0) ? 0 : 1;
}
