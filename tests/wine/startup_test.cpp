// The program as a user first meets it: started, found in the tray, its window
// opened, its figures read and checked against the system's, and ended.
#include <windows.h>
#include <psapi.h>

#include <cstdlib>

#include "harness/screen_capture.h"
#include "harness/wine_test.h"

namespace korbela::wine {
namespace {

using Startup = WineTest;

int64_t Megabytes(const std::string& caption) { return std::atoll(caption.c_str()); }

TEST_F(Startup, StartsHiddenInTheTrayWithItsWindowsFoundByClassAndTitle) {
    StartProgram();
    HWND application = program.ApplicationWindow();
    ASSERT_NE(application, nullptr) << "TApplication \"Korbela Lite\"";
    EXPECT_FALSE(IsWindowVisible(application));
    HWND main = program.MainWindow();
    EXPECT_EQ(WindowText(main), " Korbela Lite");
    EXPECT_FALSE(IsWindowVisible(main)) << "the main window is not shown at start";
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, 473);
    EXPECT_EQ(client.bottom, 291);
}

TEST_F(Startup, ShowsTotalUsedAndFreeMemoryAsTheSystemReportsIt) {
    StartProgram();
    ASSERT_TRUE(program.ShowMainWindow());
    ASSERT_TRUE(WaitForFirstTick());
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    ASSERT_TRUE(GlobalMemoryStatusEx(&status));
    const int64_t totalMB = static_cast<int64_t>(status.ullTotalPhys >> 20);
    const int64_t freeMB = static_cast<int64_t>(status.ullAvailPhys >> 20);
    EXPECT_EQ(Text(ctrl::lblTotalRAM), std::to_string(totalMB + 1) + " MB");
    const std::string used = Text(ctrl::lblUsedRAM);
    const std::string free = Text(ctrl::lblFreeRAM);
    EXPECT_EQ(used.substr(used.size() - 3), " MB");
    // Other processes move the figures a little between the two readings.
    EXPECT_NEAR(Megabytes(free), freeMB, 256);
    EXPECT_NEAR(Megabytes(used), totalMB - freeMB, 256);
    EXPECT_EQ(Megabytes(used) + Megabytes(free), totalMB);
    EXPECT_EQ(Text(ctrl::lblTRAM), Text(ctrl::lblTotalRAM));
    EXPECT_EQ(Text(ctrl::lblRAMperFree).substr(0, 7), "50%   (");
}

TEST_F(Startup, AboutPageCarriesTheFileVersion) {
    StartProgram();
    ASSERT_TRUE(WaitUntil([this] { return Text(ctrl::pnlAbout) == "About Korbela Lite (version 1.3.0.1)"; }))
        << Text(ctrl::pnlAbout);
}

TEST_F(Startup, ClosingHidesTheWindowAndTheProgramGoesOn) {
    StartProgram();
    ASSERT_TRUE(program.ShowMainWindow());
    PostMessageA(program.MainWindow(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([this] { return !IsWindowVisible(program.MainWindow()); }));
    EXPECT_FALSE(program.Exited(std::chrono::seconds(2)));
    ASSERT_TRUE(program.ShowMainWindow()) << "the tray brings it back";
}

TEST_F(Startup, ExitFromTheTrayMenuEndsTheProgramCleanly) {
    StartProgram();
    ASSERT_TRUE(program.ExitThroughTrayMenu());
    EXPECT_EQ(program.ExitCode(), 0u);
}

TEST_F(Startup, ScreenshotOfTheMainWindow) {
    StartProgram();
    ASSERT_TRUE(program.ShowMainWindow());
    ASSERT_TRUE(WaitForFirstTick());
    Sleep(500);
    const ScreenCapture shot = ScreenCapture::OfClient(program.MainWindow());
    ASSERT_EQ(shot.Width(), 473);
    EXPECT_TRUE(shot.SaveBmp(BinFolder() + "main_window.bmp"));
    EXPECT_EQ(shot.At(200, 150), (Rgb{81, 81, 81})) << "the window's background colour";
}

TEST_F(Startup, TheExecutableCarriesItsVersionAndManifest) {
    HMODULE exe = LoadLibraryExA(KorbelaExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    HRSRC manifest = FindResourceA(exe, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    ASSERT_NE(manifest, nullptr);
    const char* text = static_cast<const char*>(LockResource(LoadResource(exe, manifest)));
    const std::string xml(text, SizeofResource(exe, manifest));
    EXPECT_NE(xml.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(xml.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    FreeLibrary(exe);

    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(KorbelaExePath().c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(KorbelaExePath().c_str(), 0, size, block.data()));
    char* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\080904E4\\FileVersion",
                               reinterpret_cast<void**>(&value), &length));
    EXPECT_STREQ(value, "1.3.0.1");
}

}  // namespace
}  // namespace korbela::wine
