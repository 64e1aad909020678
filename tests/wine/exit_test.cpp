// The program's end as its user meets it, with Wine checking the heap: each
// copy runs its one-second ticks for a while and ends through the tray menu's
// Exit. scripts/test.sh runs these with WINEDEBUG=+pid,warn+heap,err+all and
// fails on any "err:seh" line (an exception inside a callback, such as a tick
// on a window that has already gone) of the copies the test names.
#include <cstdio>

#include "harness/wine_test.h"

namespace korbela::wine {
namespace {

using HeapCheckedExit = WineTest;

TEST_F(HeapCheckedExit, FiveCopiesEachEndedFromTheTrayMenuAfterFiveSecondsOfTicks) {
    for (int copy = 0; copy < 5; ++copy) {
        KorbelaProcess one;
        ASSERT_TRUE(one.Start());
        std::printf("korbela.exe started as process %04lx\n", one.Id());
        std::fflush(stdout);
        Sleep(5000);
        ASSERT_TRUE(one.ExitThroughTrayMenu()) << "copy " << copy;
        EXPECT_EQ(one.ExitCode(), 0u) << "copy " << copy;
    }
}

}  // namespace
}  // namespace korbela::wine
