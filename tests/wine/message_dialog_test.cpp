// The system message dialog as it comes up: where its body and its Ok button
// stand, at the smallest size the dialog takes, at the display's scale.
#include <windows.h>

#include "harness/screen_capture.h"
#include "harness/wine_test.h"

namespace korbela::wine {
namespace {

using MessageDialog = WineTest;

RECT RectIn(HWND parent, HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST_F(MessageDialog, TheBodyKeepsItsPlaceAndOkStaysCentredInTheFooter) {
    StartProgram();
    ASSERT_TRUE(program.ShowMainWindow());
    ASSERT_TRUE(WaitForFirstTick());
    HWND dialog = ShowStoreFailureMessage();
    ASSERT_NE(dialog, nullptr);
    Sleep(300);  // painted
    ScreenCapture::OfClient(dialog).SaveBmp(BinFolder() + ScaledFileName("message_dialog", ".bmp"));

    // Each figure is the design's at the scale, to the pixel at 96 dpi and
    // within one where scaling rounds.
    const DisplayScale s = ScreenScale();
    RECT window{};
    GetWindowRect(dialog, &window);
    EXPECT_NEAR(window.right - window.left, s(506), ScaleSlack(s)) << "the smallest width";
    EXPECT_NEAR(window.bottom - window.top, s(274), ScaleSlack(s)) << "the smallest height";
    RECT client{};
    GetClientRect(dialog, &client);
    const RECT body = RectIn(dialog, GetDlgItem(dialog, ctrl::mem_Message));
    EXPECT_EQ(body.left, 0);
    EXPECT_NEAR(body.top, s(66), ScaleSlack(s));
    EXPECT_NEAR(body.right - body.left, s(453), ScaleSlack(s));
    EXPECT_NEAR(body.bottom - body.top, s(183), ScaleSlack(s));
    const RECT ok = RectIn(dialog, GetDlgItem(dialog, ctrl::btn_Ok));
    EXPECT_NEAR(ok.right - ok.left, s(122), ScaleSlack(s));
    EXPECT_NEAR(ok.bottom - ok.top, s(27), ScaleSlack(s));
    // 228 of the designed 451 pixels is the centre, kept in proportion.
    EXPECT_NEAR((ok.left + ok.right) / 2, MulDiv(s(228), client.right, s(451)), ScaleSlack(s));
    PostMessageA(GetDlgItem(dialog, ctrl::btn_Ok), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, std::chrono::seconds(5)));
}

}  // namespace
}  // namespace korbela::wine
