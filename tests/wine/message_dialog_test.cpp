// The system message dialog as it comes up: where its body and its Ok button
// stand, at the smallest size the dialog takes.
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
    ScreenCapture::OfClient(dialog).SaveBmp(BinFolder() + "message_dialog.bmp");

    RECT window{};
    GetWindowRect(dialog, &window);
    EXPECT_EQ(window.right - window.left, 506) << "the smallest width";
    EXPECT_EQ(window.bottom - window.top, 274) << "the smallest height";
    RECT client{};
    GetClientRect(dialog, &client);
    const RECT body = RectIn(dialog, GetDlgItem(dialog, ctrl::mem_Message));
    EXPECT_EQ(body.left, 0);
    EXPECT_EQ(body.top, 66);
    EXPECT_EQ(body.right - body.left, 453);
    EXPECT_EQ(body.bottom - body.top, 183);
    const RECT ok = RectIn(dialog, GetDlgItem(dialog, ctrl::btn_Ok));
    EXPECT_EQ(ok.right - ok.left, 122);
    EXPECT_EQ(ok.bottom - ok.top, 27);
    // 228 of the designed 451 pixels is the centre, kept in proportion.
    EXPECT_EQ((ok.left + ok.right) / 2, MulDiv(228, client.right, 451));
    PostMessageA(GetDlgItem(dialog, ctrl::btn_Ok), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, std::chrono::seconds(5)));
}

}  // namespace
}  // namespace korbela::wine
