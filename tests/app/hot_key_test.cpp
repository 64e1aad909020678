#include "core/app/hot_key.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace korbela {
namespace {

class FakeRegistrar : public IHotKeyRegistrar {
public:
    void Register(uint32_t modifiers, uint32_t virtualKey) override {
        log.push_back("register " + std::to_string(modifiers) + " " + std::to_string(virtualKey));
    }
    void Unregister() override { log.push_back("unregister"); }
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

TEST(ShortCut, DecodesModifiersAndKey) {
    struct Case {
        uint16_t shortCut;
        DecodedShortCut decoded;
    };
    const Case cases[] = {
        {49217, {kModControl | kModAlt, 0x41, ssCtrl | ssAlt}},           // Ctrl+Alt+A
        {0x2070, {kModShift, 0x70, ssShift}},                              // Shift+F1
        {0x4000 | 0x2000 | 0x8000 | 0x5A, {kModShift | kModControl | kModAlt, 0x5A, ssShift | ssCtrl | ssAlt}},
        {0x0041, {0, 0x41, 0}},
        {0, {0, 0, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeShortCut(c.shortCut), c.decoded) << c.shortCut;
}

TEST(HotKey, RegistersWhileActiveAndSet) {
    FakeRegistrar registrar;
    std::optional<THotKey> key(std::in_place, registrar);
    key->SetHotKey(kMainWindowHotKey);
    key->SetHotKey(kMainWindowHotKey);
    EXPECT_EQ(registrar.log, (Log{"register 3 65"})) << "MOD_CONTROL | MOD_ALT with 0x41, once";
    key->SetActive(false);
    key->SetHotKey(0x2070);
    EXPECT_EQ(registrar.log, (Log{"register 3 65", "unregister"})) << "nothing while inactive";
    key->SetActive(true);
    key->SetHotKey(kMainWindowHotKey);
    EXPECT_EQ(registrar.log, (Log{"register 3 65", "unregister", "register 4 112", "unregister", "register 3 65"}))
        << "a changed key gives the old one back first";
    key->SetHotKey(0);
    EXPECT_EQ(registrar.log.back(), "unregister");
    registrar.log.clear();
    key.reset();
    EXPECT_TRUE(registrar.log.empty()) << "nothing to give back";
}

TEST(HotKey, DestructionGivesTheKeyBack) {
    FakeRegistrar registrar;
    {
        THotKey key(registrar);
        key.SetHotKey(kMainWindowHotKey);
    }
    EXPECT_EQ(registrar.log, (Log{"register 3 65", "unregister"}));
}

TEST(HotKey, PressTellsKeyAndShiftOfTheShortCut) {
    FakeRegistrar registrar;
    THotKey key(registrar);
    key.HotKeyPressed();  // no handler: nothing happens
    key.SetHotKey(kMainWindowHotKey);
    std::vector<std::pair<int, int>> pressed;
    key.OnKeyDown = [&](int virtualKey, int shift) { pressed.emplace_back(virtualKey, shift); };
    key.HotKeyPressed();
    key.HotKeyPressed();
    EXPECT_EQ(pressed, (std::vector<std::pair<int, int>>{{0x41, ssCtrl | ssAlt}, {0x41, ssCtrl | ssAlt}}));
}

}  // namespace
}  // namespace korbela
