// What the tray icon shows the user, read back from the notification area:
// the first start's notification, what a clean freed, and the memory in use
// drawn in the icon.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <regex>

#include "core/form/frm_kr_main.h"
#include "core/widgets/usage_icon.h"
#include "harness/notification_area.h"
#include "harness/screen_capture.h"
#include "harness/wine_test.h"

namespace korbela::wine {
namespace {

using namespace std::chrono;
using Notification = WineTest;

// The first balloon text on screen that matches, within the time.
std::optional<std::string> WaitForBalloon(DWORD program, const std::regex& wanted, seconds timeout = seconds(20)) {
    std::optional<std::string> found;
    WaitUntil(
        [&] {
            for (const std::string& text : VisibleTrayBalloons(program)) {
                if (std::regex_match(text, wanted)) found = text;
            }
            return found.has_value();
        },
        timeout);
    return found;
}

// The percent whose usage icon the picture is, at its size.
std::optional<int> UsageShown(const TrayIconPixels& icon) {
    for (int percent = 0; percent <= 100 && !icon.pixels.empty(); ++percent) {
        if (DrawUsageIcon({percent, icon.width}) == icon.pixels) return percent;
    }
    return std::nullopt;
}

TrayIconPixels WaitForIcon(bool usage) {
    TrayIconPixels icon;
    WaitUntil([&] {
        icon = CaptureTrayIcon();
        return !icon.pixels.empty() && UsageShown(icon).has_value() == usage;
    });
    return icon;
}

TEST_F(Notification, TheFirstStartSaysWhereTheProgramIsAndTheNextDoesNot) {
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    StartProgram();
    EXPECT_TRUE(WaitForBalloon(program.Id(), std::regex(kFirstStartNotice)));
    ASSERT_TRUE(program.ExitThroughTrayMenu());
    StartProgram();
    ASSERT_TRUE(WaitForFirstTick()) << "the start is over";
    // Wine shows a balloon 2 s after it is asked for: give it twice that.
    EXPECT_FALSE(WaitForBalloon(program.Id(), std::regex(".*"), seconds(4)));
}

TEST_F(Notification, ALightCleanFromTheTrayTellsWhatItFreed) {
    StartProgram();
    program.ChooseTrayItem(menu::LightClean1);
    const std::regex notice("(Freed [1-9][0-9]* MB\\.|Nothing freed\\.) ([0-9]+) MB free now\\.");
    const std::optional<std::string> told = WaitForBalloon(program.Id(), notice, seconds(120));
    ASSERT_TRUE(told) << "no notification after the run";
    EXPECT_FALSE(IsWindowVisible(program.MainWindow())) << "the window is back in the tray";
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(*told, parts, notice));
    const double freeMB = static_cast<double>(MemoryNow().ullAvailPhys >> 20);
    EXPECT_NEAR(std::stod(parts[2]), freeMB, freeMB / 5);
}

// Choosing the menu item draws the memory in use into the icon at the
// display's icon size and stores the choice; an Explorer restart keeps it.
TEST_F(Notification, TheIconShowsTheMemoryInUseOnceChosen) {
    StartProgram();
    ASSERT_TRUE(WaitUntil([] { return ReadDword(HKEY_CURRENT_USER, kSettingsKey, "Tray Icon Usage") == 0u; }))
        << "the start gives the missing value its default";
    const TrayIconPixels programIcon = WaitForIcon(false);
    EXPECT_EQ(programIcon.width, ScreenScale()(16));

    program.ChooseTrayItem(menu::ShowMemoryUsageinIcon1);
    const TrayIconPixels usage = WaitForIcon(true);
    ASSERT_TRUE(UsageShown(usage)) << "the icon never showed the usage";
    EXPECT_EQ(usage.width, ScreenScale()(16));
    const MEMORYSTATUSEX memory = MemoryNow();
    EXPECT_NEAR(*UsageShown(usage), 100 - 100.0 * memory.ullAvailPhys / memory.ullTotalPhys, 3);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kSettingsKey, "Tray Icon Usage"), 1u);
    ScreenCapture::OfPixels(usage.width, usage.height, usage.pixels).SaveBmp(ScaledFileName("tray-usage-icon", ".bmp"));

    LoseTrayIcon(program.TrayWindow(), 1);
    BroadcastTaskbarCreated();
    EXPECT_TRUE(UsageShown(WaitForIcon(true))) << "back in the chosen look after an Explorer restart";

    program.ChooseTrayItem(menu::ShowMemoryUsageinIcon1);
    EXPECT_TRUE(WaitUntil([] { return ReadDword(HKEY_CURRENT_USER, kSettingsKey, "Tray Icon Usage") == 0u; }));
    EXPECT_FALSE(UsageShown(WaitForIcon(false))) << "the program's icon again";
}

}  // namespace
}  // namespace korbela::wine
