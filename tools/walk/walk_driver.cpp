// Drives the instrumented korbela.exe beside it through the two walks that
// scripts/walk.sh counts: a few usage ticks, "Medium Clean" from the tray menu
// until the window has hidden again, a few more ticks, then Exit. Returns 0
// when every step was seen.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kMediumClean = 2;  // the tray menu's command identifiers
constexpr int kExit = 7;

template <typename Condition>
bool WaitUntil(Condition condition, DWORD milliseconds) {
    for (DWORD waited = 0; waited < milliseconds; waited += 50) {
        if (condition()) return true;
        Sleep(50);
    }
    return condition();
}

bool Fail(const char* step) {
    std::fprintf(stderr, "walk_driver: %s\n", step);
    return false;
}

bool Drive() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string program = path;
    program = program.substr(0, program.find_last_of('\\') + 1) + "korbela.exe";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return Fail("korbela.exe did not start");
    }
    HWND tray = nullptr;
    HWND main = nullptr;
    const bool started = WaitUntil(
        [&] {
            tray = FindWindowA("KorbelaTrayWindow", nullptr);
            main = FindWindowA("TfrmKRmain", nullptr);
            return tray != nullptr && main != nullptr;
        },
        30000);
    if (!started) return Fail("no tray or main window");
    Sleep(3000);  // usage ticks
    PostMessageA(tray, WM_COMMAND, kMediumClean, 0);
    if (!WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 30000)) return Fail("the window did not show");
    if (!WaitUntil([&] { return IsWindowVisible(main) == FALSE; }, 300000)) return Fail("the window did not hide");
    Sleep(3000);  // more ticks
    PostMessageA(tray, WM_COMMAND, kExit, 0);
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) return Fail("korbela.exe did not end");
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace

int main() { return Drive() ? 0 : 1; }
