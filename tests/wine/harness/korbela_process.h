// Starts the real korbela.exe, finds its windows and ends it, for the
// integration tests.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

namespace korbela::wine {

// The folder of the test executable, which is where korbela.exe is built.
// Paths here are UTF-8, as in the program.
std::string BinFolder();
std::string KorbelaExePath();

// Polls until the predicate holds or the time is up.
bool WaitUntil(const std::function<bool()>& predicate,
               std::chrono::milliseconds timeout = std::chrono::seconds(20));

// Top-level window of a class (and title, when given) that belongs to a process.
HWND FindProcessWindow(DWORD processId, const char* className, const char* title = nullptr);

std::string WindowText(HWND window);

// Waits for a usage tick of the program: only a tick writes the free-memory
// figure, and claiming and giving back 128 MB gives the next one a new figure.
bool WaitForNewTick(HWND freeLabel);

// The memory status as the system reports it now, in 64-bit byte counts.
MEMORYSTATUSEX MemoryNow();

// Per-user settings and the machine keys the program writes, removed between tests.
void DeleteProgramRegistryState();

class KorbelaProcess {
public:
    KorbelaProcess() = default;
    ~KorbelaProcess();
    KorbelaProcess(const KorbelaProcess&) = delete;
    KorbelaProcess& operator=(const KorbelaProcess&) = delete;

    // Starts the program and waits until its main window exists.
    bool Start(const std::string& exePath = KorbelaExePath());
    // Only starts it, as a second copy that is to end by itself.
    bool Launch(const std::string& exePath = KorbelaExePath());
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }

    HWND ApplicationWindow() const;
    HWND MainWindow() const;
    HWND TrayWindow() const;
    HWND HotKeyWindow() const;
    HWND Control(int id) const;  // a child of the main window by control ID

    // Shows the main window the way a user does: a double click on the tray icon.
    bool ShowMainWindow();
    // Sends a tray callback mouse report (WM_LBUTTONUP, WM_CONTEXTMENU, ...).
    void TrayCallback(UINT mouseMessage);

    bool Exited(std::chrono::milliseconds timeout);
    DWORD ExitCode() const;
    // Why a start did not come up, for the test's message: the exit code of a
    // program that ended, or the windows that a running one lacks.
    std::string StartReport() const;
    // The largest working set the process has had. Wine keeps no peak of the
    // committed bytes, but it does of the working set, and a freeing run
    // writes every block it takes, so each one is in the working set.
    SIZE_T PeakWorkingSet() const;
    // Chooses a tray menu item by its command (1 Light, 2 Medium, 3 Heavy Clean,
    // 5 Show Main Window, 7 Exit), as the menu does once an item is picked.
    void ChooseTrayItem(int command);
    // Opens the tray menu, picks "Exit Korbela Lite" with the keyboard and waits for the end.
    bool ExitThroughTrayMenu();
    void Kill();

private:
    PROCESS_INFORMATION info_{};
};

}  // namespace korbela::wine
