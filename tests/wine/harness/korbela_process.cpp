#include "harness/korbela_process.h"

#include <psapi.h>

#include <cstdio>
#include <thread>
#include <vector>

#include "win32/system/utf8.h"

namespace korbela::wine {

namespace {

constexpr UINT kTrayCallback = WM_USER + 1;

struct FindData {
    DWORD processId;
    const char* className;
    const char* title;
    HWND found;
};

BOOL CALLBACK FindProc(HWND window, LPARAM param) {
    auto* data = reinterpret_cast<FindData*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != data->processId) return TRUE;
    char className[128] = {};
    GetClassNameA(window, className, sizeof(className));
    if (lstrcmpA(className, data->className) != 0) return TRUE;
    if (data->title != nullptr && WindowText(window) != data->title) return TRUE;
    data->found = window;
    return FALSE;
}

HWND FindMessageWindow(DWORD processId, const char* className) {
    HWND window = nullptr;
    while ((window = FindWindowExA(HWND_MESSAGE, window, className, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId) return window;
    }
    return FindProcessWindow(processId, className);
}

}  // namespace

std::string BinFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::string folder = WideToUtf8(std::wstring_view(path, length));
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

std::string KorbelaExePath() { return BinFolder() + "korbela.exe"; }

bool WaitForNewTick(HWND freeLabel) {
    const std::string before = WindowText(freeLabel);
    constexpr std::size_t kStirBytes = std::size_t{128} << 20;
    std::vector<char> stir;
    for (int round = 0; round < 4; ++round) {
        if (stir.empty()) {
            stir.assign(kStirBytes, '\x5a');
        } else {
            std::vector<char>().swap(stir);
        }
        if (WaitUntil([&] { return WindowText(freeLabel) != before; }, std::chrono::seconds(3))) return true;
    }
    return false;
}

bool WaitUntil(const std::function<bool()>& predicate, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (predicate()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

HWND FindProcessWindow(DWORD processId, const char* className, const char* title) {
    FindData data{processId, className, title, nullptr};
    EnumWindows(FindProc, reinterpret_cast<LPARAM>(&data));
    return data.found;
}

std::string WindowText(HWND window) {
    char text[1024] = {};
    // WM_GETTEXT works across processes and for hidden windows alike.
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

MEMORYSTATUSEX MemoryNow() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    GlobalMemoryStatusEx(&status);
    return status;
}

void DeleteProgramRegistryState() {
    RegDeleteTreeA(HKEY_CURRENT_USER, "software\\Quillmarsh\\Korbela Lite");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "software\\Quillmarsh\\Korbela Lite");
    const char* run = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root, run, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "Korbela");
            RegCloseKey(key);
        }
    }
}

KorbelaProcess::~KorbelaProcess() {
    if (info_.hProcess != nullptr) {
        if (!Exited(std::chrono::milliseconds(0))) Kill();
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
}

bool KorbelaProcess::Start(const std::string& exePath) {
    if (!Launch(exePath)) return false;
    return WaitUntil([this] {
        return MainWindow() != nullptr && TrayWindow() != nullptr && HotKeyWindow() != nullptr;
    });
}

bool KorbelaProcess::Launch(const std::string& exePath) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    const std::wstring path = Utf8ToWide(exePath);
    const std::wstring commandLine = L"\"" + path + L"\"";
    // CreateProcessW may write to the command line.
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    if (!CreateProcessW(path.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info_)) {
        return false;
    }
    return true;
}

HWND KorbelaProcess::ApplicationWindow() const {
    return FindProcessWindow(info_.dwProcessId, "TApplication", "Korbela Lite");
}

HWND KorbelaProcess::MainWindow() const { return FindProcessWindow(info_.dwProcessId, "TfrmKRmain"); }

HWND KorbelaProcess::TrayWindow() const { return FindMessageWindow(info_.dwProcessId, "KorbelaTrayWindow"); }

HWND KorbelaProcess::HotKeyWindow() const {
    return FindMessageWindow(info_.dwProcessId, "KorbelaHotKeyWindow");
}

HWND KorbelaProcess::Control(int id) const { return GetDlgItem(MainWindow(), id); }

void KorbelaProcess::TrayCallback(UINT mouseMessage) {
    PostMessageA(TrayWindow(), kTrayCallback, 1, mouseMessage);
}

bool KorbelaProcess::ShowMainWindow() {
    TrayCallback(WM_LBUTTONDOWN);
    TrayCallback(WM_LBUTTONDBLCLK);
    TrayCallback(WM_LBUTTONUP);
    return WaitUntil([this] { return IsWindowVisible(MainWindow()) != FALSE; });
}

void KorbelaProcess::ChooseTrayItem(int command) {
    PostMessageA(TrayWindow(), WM_COMMAND, static_cast<WPARAM>(command), 0);
}

bool KorbelaProcess::Exited(std::chrono::milliseconds timeout) {
    return WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

SIZE_T KorbelaProcess::PeakWorkingSet() const {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(info_.hProcess, &counters, sizeof(counters))) return 0;
    return counters.PeakWorkingSetSize;
}

DWORD KorbelaProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

std::string KorbelaProcess::StartReport() const {
    if (info_.hProcess == nullptr) return "it could not be started";
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0) {
        char text[64] = {};
        std::snprintf(text, sizeof(text), "it ended with exit code 0x%08lx", ExitCode());
        return text;
    }
    std::string missing;
    if (MainWindow() == nullptr) missing += " the main window";
    if (TrayWindow() == nullptr) missing += " the tray window";
    if (HotKeyWindow() == nullptr) missing += " the hot key window";
    return missing.empty() ? "it runs with all its windows now" : "it runs without" + missing;
}

bool KorbelaProcess::ExitThroughTrayMenu() {
    TrayCallback(WM_CONTEXTMENU);
    HWND menu = nullptr;
    if (!WaitUntil([&] { return (menu = FindWindowA("#32768", nullptr)) != nullptr && IsWindowVisible(menu); },
                   std::chrono::seconds(10))) {
        return false;
    }
    // The last item is "Exit Korbela Lite": Up wraps to it, Enter chooses it.
    PostMessageA(menu, WM_KEYDOWN, VK_UP, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    return Exited(std::chrono::seconds(20));
}

void KorbelaProcess::Kill() {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
}

}  // namespace korbela::wine
