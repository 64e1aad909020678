#include "core/app/instance_guard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korbela {
namespace {

using Log = std::vector<std::string>;

TEST(InstanceMarker, NameIsTheUpperCasedFileName) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\Apps\\Korbela.exe", "KORBELA.EXE"},
        {"c:\\program files\\quillmarsh\\korbela lite\\korbela.exe", "KORBELA.EXE"},
        {"\\\\server\\share\\Other Name.Exe", "OTHER NAME.EXE"},
        {"C:korbela.exe", "KORBELA.EXE"},
        {"korbela.exe", "KORBELA.EXE"},
        {"C:\\Apps\\", ""},
        {"", ""},
    };
    for (const auto& [path, name] : cases) EXPECT_EQ(InstanceMarkerName(path), name) << path;
}

TEST(InstanceMarker, PreviousInstanceWhenAlreadyThereOrRefused) {
    EXPECT_TRUE(IsPreviousInstance(true, 183));
    EXPECT_FALSE(IsPreviousInstance(true, 0));
    EXPECT_FALSE(IsPreviousInstance(false, 183)) << "a marker that could not be made counts as the first copy";
    EXPECT_FALSE(IsPreviousInstance(false, 0));
    EXPECT_TRUE(IsPreviousInstance(false, 5)) << "access denied: an elevated first copy holds the marker";
}

class FakeGuardPlatform : public IInstanceGuardPlatform {
public:
    void SetOwnApplicationText(const std::string& text) override { log.push_back("own text '" + text + "'"); }
    Window FindApplicationWindow(const std::string& className, const std::string& title) override {
        log.push_back("find " + className + " '" + title + "'");
        return firstCopy;
    }
    bool IsIconic(Window window) override { return window == firstCopy && firstCopyIconic; }
    void Restore(Window window) override { log.push_back("restore " + std::to_string(window)); }
    void SetForegroundWindow(Window window) override { log.push_back("foreground " + std::to_string(window)); }
    void RequestEnd() override { log.push_back("end requested"); }

    Window firstCopy = 0;
    bool firstCopyIconic = false;
    Log log;
};

TEST(OneInstance, SecondCopyActivatesTheFirstAndEnds) {
    struct Case {
        const char* what;
        IInstanceGuardPlatform::Window firstCopy;
        bool iconic;
        std::string action;  // empty: nothing activated
    };
    const Case cases[] = {
        {"minimised first copy is restored", 0x1234, true, "restore 4660"},
        {"shown first copy comes to the front", 0x1234, false, "foreground 4660"},
        {"no window found", 0, false, ""},
    };
    for (const auto& c : cases) {
        FakeGuardPlatform platform;
        platform.firstCopy = c.firstCopy;
        platform.firstCopyIconic = c.iconic;
        TOneInstance guard(platform);
        EXPECT_TRUE(guard.Loaded(true)) << "this copy ends";
        Log expected{"own text ''", "find TApplication 'Korbela Lite'"};
        if (!c.action.empty()) expected.push_back(c.action);
        expected.push_back("end requested");
        EXPECT_EQ(platform.log, expected) << c.what;
    }
}

TEST(OneInstance, FirstCopyOrDisabledGuardDoesNothing) {
    FakeGuardPlatform platform;
    platform.firstCopy = 0x1234;
    TOneInstance guard(platform);
    EXPECT_FALSE(guard.Loaded(false));
    guard.SetEnabled(false);
    EXPECT_FALSE(guard.Loaded(true));
    EXPECT_TRUE(platform.log.empty());
}

}  // namespace
}  // namespace korbela
