// Automatic freeing of the real program, end to end: the CPU load comes from
// the test performance provider and the free memory from /proc/meminfo, which
// the test script replaces, inside a mount namespace of this run only, by the
// file named in KORBELA_FAKE_MEMINFO. Wine reads MemAvailable from there; the
// blocks of a run still come from real memory. The usage icon is checked here
// too, since only here can the memory in use be set.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/widgets/usage_icon.h"
#include "harness/notification_area.h"
#include "harness/screen_capture.h"
#include "harness/test_perf_provider.h"
#include "harness/wine_test.h"

namespace korbela::wine {
namespace {

using namespace std::chrono;

class FakeMeminfo {
public:
    FakeMeminfo() {
        const char* path = std::getenv("KORBELA_FAKE_MEMINFO");
        if (path == nullptr || *path != '/') return;
        path_ = std::string("Z:") + path;
        for (char& c : path_) c = c == '/' ? '\\' : c;
    }

    // Rewrites the file in place (the mount holds its inode) and waits until
    // the memory status shows it; false when it does not, outside the namespace.
    bool SetAvailable(uint64_t totalBytes, uint64_t availableBytes) const {
        if (path_.empty()) return false;
        const std::string kb = std::to_string(availableBytes >> 10);
        const std::string text = "MemTotal:       " + std::to_string(totalBytes >> 10) + " kB\n" +
                                 "MemFree:        " + kb + " kB\n" + "MemAvailable:   " + kb + " kB\n" +
                                 "Buffers:        0 kB\nCached:         0 kB\n" +
                                 "SwapTotal:      0 kB\nSwapFree:       0 kB\n";
        HANDLE file = CreateFileA(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, TRUNCATE_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        DWORD written = 0;
        const bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                        written == text.size();
        CloseHandle(file);
        return ok && WaitUntil([&] { return MemoryNow().ullAvailPhys >> 20 == availableBytes >> 20; }, seconds(10));
    }

private:
    std::string path_;
};

class AutoFreeing : public WineTest {
protected:
    TestPerfProvider provider;
    FakeMeminfo meminfo;
};

// One check a minute, from the program's start: the first two find one of the
// conditions missing and leave the memory alone, the third runs.
TEST_F(AutoFreeing, RunsSilentlyOnlyWhenMemoryIsLowAndTheProcessorsQuiet) {
    const uint64_t total = MemoryNow().ullTotalPhys;
    ASSERT_TRUE(meminfo.SetAvailable(total, total / 2))
        << "the free memory cannot be set: run through scripts/test.sh, which sets KORBELA_FAKE_MEMINFO";
    ASSERT_TRUE(provider.Registered());
    provider.SetLoads(10, 10);
    WriteDword(HKEY_CURRENT_USER, kSettingsKey, "Automatic RAM Freeing", 1);
    WriteDword(HKEY_CURRENT_USER, kSettingsKey, "Automatic RAM Free Silent", 1);
    WriteDword(HKEY_CURRENT_USER, kSettingsKey, "Automatic Level", 5);
    WriteDword(HKEY_CURRENT_USER, kSettingsKey, "CPU Threshold", 50);
    WriteDword(HKEY_CURRENT_USER, kSettingsKey, "Attempts", 3);
    StartProgram();
    const auto started = steady_clock::now();
    const SIZE_T base = program.PeakWorkingSet();
    ASSERT_GT(base, 0u) << "the working set cannot be read";
    const SIZE_T runBytes = static_cast<SIZE_T>(total / 100 * 5);
    bool shown = false;
    bool told = false;
    bool attemptsKept = true;
    const auto ran = [&] {
        shown = shown || IsWindowVisible(program.MainWindow());
        told = told || !VisibleTrayBalloons(program.Id()).empty();
        attemptsKept = attemptsKept && ReadDword(HKEY_CURRENT_USER, kSettingsKey, "Attempts") == 3u;
        return program.PeakWorkingSet() - base > runBytes / 2;
    };
    const auto until = [&](seconds fromStart) {
        return duration_cast<milliseconds>(started + fromStart - steady_clock::now());
    };

    // Half the memory free, processors quiet: the check at one minute does nothing.
    EXPECT_FALSE(WaitUntil(ran, until(seconds(90)))) << "a run with free memory above the level";

    // 2 % free, below the level of 5 %, but the processors busy: the check at two minutes does nothing.
    ASSERT_TRUE(meminfo.SetAvailable(total, total / 50));
    provider.SetLoads(90, 90);
    EXPECT_FALSE(WaitUntil(ran, until(seconds(150)))) << "a run with the load above the threshold";

    // Quiet again: the check at three minutes frees 5 % of the memory, silently.
    provider.SetLoads(10, 10);
    EXPECT_TRUE(WaitUntil(ran, until(seconds(240)))) << "no run at the check after the load fell";
    EXPECT_FALSE(shown) << "a silent run never shows the window";
    // A notification would come 2 s after the run: give it twice that.
    WaitUntil([&] { return !VisibleTrayBalloons(program.Id()).empty(); }, seconds(4));
    EXPECT_FALSE(told || !VisibleTrayBalloons(program.Id()).empty()) << "a silent run tells nothing";
    EXPECT_TRUE(attemptsKept) << "\"Attempts\" stays the user's during the run";
    EXPECT_TRUE(Checked(ctrl::chbAuto_Free)) << "automatic freeing stays on";
}

// The usage icon follows the memory in use, in the colour of its level; the
// pictures are the manual's.
TEST_F(AutoFreeing, TheUsageIconFollowsTheMemoryInUse) {
    const uint64_t total = MemoryNow().ullTotalPhys;
    ASSERT_TRUE(meminfo.SetAvailable(total, total / 2)) << "run through scripts/test.sh";
    WriteDword(HKEY_CURRENT_USER, kSettingsKey, "Tray Icon Usage", 1);
    StartProgram();
    for (const int inUse : {42, 73, 91, 100}) {
        // A twentieth of a percent more free, so that no figure is a tie to round.
        ASSERT_TRUE(meminfo.SetAvailable(total, total / 1000 * (1000 - 10 * inUse) + (inUse < 100) * total / 2000));
        TrayIconPixels icon;
        EXPECT_TRUE(WaitUntil([&] {
            icon = CaptureTrayIcon();
            return icon.pixels == DrawUsageIcon({inUse, icon.width});
        })) << "the icon never showed "
            << inUse << "%";
        EXPECT_EQ(icon.width, ScreenScale()(16));
        ScreenCapture::OfPixels(icon.width, icon.height, icon.pixels)
            .SaveBmp(ScaledFileName("tray-usage-icon-" + std::to_string(inUse), ".bmp"));
    }
}

}  // namespace
}  // namespace korbela::wine
