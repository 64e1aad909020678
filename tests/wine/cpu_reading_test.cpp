// The CPU reading end to end: the test performance provider serves the
// Processor object that Windows serves, and the real program's CPU bar, its
// graph and its automatic freeing switch follow what the provider reports.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "harness/screen_capture.h"
#include "harness/test_perf_provider.h"
#include "harness/wine_test.h"

namespace korbela::wine {
namespace {

using namespace std::chrono;

constexpr Rgb kYellow{255, 255, 0};  // the CPU trace
constexpr int kGraphHeight = 105;

// The bar's window text is its caption, "63%"; -1 when it reads otherwise.
int PercentOf(const std::string& caption) {
    if (caption.size() < 2 || caption.back() != '%') return -1;
    char* end = nullptr;
    const long value = std::strtol(caption.c_str(), &end, 10);
    return end == caption.c_str() + caption.size() - 1 ? static_cast<int>(value) : -1;
}

// The graph's row of a value on its 0..100 scale.
int RowOf(int value) { return kGraphHeight - kGraphHeight * value / 100; }

class CpuReading : public WineTest {
protected:
    int BarPercent() const { return PercentOf(Text(ctrl::pbrCPU)); }

    // The provider's clock and the block's time stamp are read a moment
    // apart, so a reading may land one point off the load.
    bool BarShows(int percent) const {
        return WaitUntil([&] { return std::abs(BarPercent() - percent) <= 1; }, seconds(20));
    }

    // Rows of the CPU trace in the newest columns of the graph.
    std::vector<int> NewestTraceRows() const {
        const ScreenCapture graph = ScreenCapture::OfClient(program.Control(ctrl::scpGraph));
        std::vector<int> rows;
        for (int y = 0; y < graph.Height(); ++y) {
            for (int x = graph.Width() - 4; x < graph.Width(); ++x) {
                if (graph.At(x, y) == kYellow) {
                    rows.push_back(y);
                    break;
                }
            }
        }
        return rows;
    }

    // The newest points of the trace lie on the value's row, a point either way.
    bool TraceShows(int percent) const {
        return WaitUntil([&] {
            for (int row : NewestTraceRows()) {
                if (std::abs(row - RowOf(percent)) <= 1) return true;
            }
            return false;
        }, seconds(10));
    }

    void ShowMonitorPage() {
        ASSERT_TRUE(program.ShowMainWindow());
        SendMessageA(program.Control(ctrl::pgRAM), TCM_SETCURSEL, 1, 0);
        ASSERT_TRUE(WaitUntil([this] { return Visible(ctrl::scpGraph); }));
    }

    TestPerfProvider provider;
};

TEST_F(CpuReading, TheBarAndTheGraphFollowTheLoad) {
    ASSERT_TRUE(provider.Registered());
    provider.SetLoads(20, 20);
    StartProgram();
    ShowMonitorPage();
    ASSERT_TRUE(provider.WaitForCollects(3)) << "the program reads the performance data at every tick";
    EXPECT_TRUE(BarShows(20)) << "the bar reads " << Text(ctrl::pbrCPU);
    EXPECT_TRUE(TraceShows(20)) << "the CPU trace stands at row " << RowOf(20);

    provider.SetLoads(70, 70);
    ASSERT_TRUE(provider.WaitForCollects(3));
    EXPECT_TRUE(BarShows(70)) << "the bar reads " << Text(ctrl::pbrCPU);
    EXPECT_TRUE(TraceShows(70)) << "the CPU trace stands at row " << RowOf(70);
}

TEST_F(CpuReading, TheCombinedInstanceCountsWhereItDiffersFromTheMean) {
    ASSERT_TRUE(provider.Registered());
    provider.SetLoads(10, 30, 60);
    StartProgram();
    ShowMonitorPage();
    ASSERT_TRUE(provider.WaitForCollects(3));
    EXPECT_TRUE(BarShows(60)) << "\"_Total\", not the mean 20: the bar reads " << Text(ctrl::pbrCPU);
}

TEST_F(CpuReading, AFailedReadingSwitchesAutomaticFreeingOffForThisRunOnly) {
    ASSERT_TRUE(provider.Registered());
    WriteDword(HKEY_CURRENT_USER, kSettingsKey, "Automatic RAM Freeing", 1);
    provider.SetLoads(30, 30);
    StartProgram();
    ASSERT_TRUE(program.ShowMainWindow());
    SendMessageA(program.Control(ctrl::pgRAM), TCM_SETCURSEL, 2, 0);  // where the box is
    ASSERT_TRUE(WaitUntil([this] { return Visible(ctrl::chbAuto_Free); }));
    ASSERT_TRUE(provider.WaitForCollects(3));
    ASSERT_TRUE(BarShows(30)) << "the bar reads " << Text(ctrl::pbrCPU);
    EXPECT_TRUE(Checked(ctrl::chbAuto_Free)) << "a working reading leaves automatic freeing on";
    EXPECT_TRUE(IsWindowEnabled(program.Control(ctrl::chbAuto_Free)));

    provider.Remove();  // the block comes back without a Processor object

    EXPECT_TRUE(WaitUntil([&] {
        return !Checked(ctrl::chbAuto_Free) && !IsWindowEnabled(program.Control(ctrl::chbAuto_Free));
    })) << "the box is unticked and disabled";
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kSettingsKey, "Automatic RAM Freeing"), 1u)
        << "the stored choice stays the user's";

    // The reading is not tried again in this run, even once it would work.
    const std::string last = Text(ctrl::pbrCPU);
    TestPerfProvider working;
    working.SetLoads(80, 80);
    ASSERT_TRUE(WaitForNewTick(program.Control(ctrl::lblFreeRAM)));
    ASSERT_TRUE(WaitForNewTick(program.Control(ctrl::lblFreeRAM)));
    EXPECT_EQ(working.Collects(), 0u) << "no query after the failure";
    EXPECT_EQ(Text(ctrl::pbrCPU), last) << "the bar keeps its last reading";
    HWND dialog = FindProcessWindow(program.Id(), "Tfrm_Message");
    EXPECT_FALSE(dialog != nullptr && IsWindowVisible(dialog)) << "no message outside Windows Vista";
}

}  // namespace
}  // namespace korbela::wine
