#include "core/tray/notify_shell.h"

#include <gtest/gtest.h>

#include <string>

namespace korbela {
namespace {

TEST(NotifyIconRecord, LayoutFollowsTheShellVersion) {
    struct Case {
        uint32_t shellVersion;
        std::size_t pointerSize;
        uint32_t size;
        uint32_t version;
    };
    const Case cases[] = {
        {0, 4, 88, 0},       {0x4FFFF, 4, 88, 0}, {0x50000, 4, 488, 3}, {0x60001, 4, 488, 3},
        {0x40047, 8, 104, 0}, {0x50000, 8, 504, 3},
    };
    for (const auto& c : cases) {
        const NotifyIconRecord record = MakeNotifyIconRecord(c.shellVersion, c.pointerSize, "");
        EXPECT_EQ(record.size, c.size) << std::hex << c.shellVersion << " " << c.pointerSize;
        EXPECT_EQ(record.version, c.version) << std::hex << c.shellVersion;
        EXPECT_EQ(record.id, 1u);
        EXPECT_EQ(record.callbackMessage, 1025u);
    }
}

TEST(NotifyIconRecord, TipIsTheShortPartCutToTheLimit) {
    const std::string s127(127, 'a');
    const std::string s63(63, 'a');
    struct Case {
        std::string hint;
        uint32_t shellVersion;
        std::string tip;
    };
    const Case cases[] = {
        {"", 0x60000, ""},
        {"Korbela Lite: 812 MB free", 0x60000, "Korbela Lite: 812 MB free"},
        {"short|long|longer", 0x60000, "short"},
        {"|long", 0x60000, ""},
        {s127, 0x60000, s127},
        {s127 + "b", 0x60000, s127},
        {s63 + "bbb", 0x40000, s63},
        {s63, 0x40000, s63},
        {s63 + "b|" + s127, 0x60000, s63 + "b"},
    };
    for (const auto& c : cases) EXPECT_EQ(TrayTipText(c.hint, c.shellVersion), c.tip) << c.hint;
}

TEST(NotifyIconRecord, LineBreaksBecomeDashes) {
    const std::pair<std::string, std::string> cases[] = {
        {"a\r\nb", "a - b"}, {"a\nb", "a - b"},   {"a\rb", "a - b"},
        {"a\r\n\r\nb", "a -  - b"}, {"\n", " - "}, {"no breaks", "no breaks"},
        {"a\n\rb", "a -  - b"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(ReplaceLineBreaks(text), expected) << text;
}

}  // namespace
}  // namespace korbela
