#include "core/system/system_info.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/system/errors.h"

namespace korbela {
namespace {

struct ProductCase {
    uint32_t Platform, Major, Minor;
    const char* Name;
};

TEST(WindowsProduct, NamesFollowTheVersionTable) {
    const ProductCase cases[] = {
        {kPlatformWin32NT, 3, 0, "Windows NT"},
        {kPlatformWin32NT, 3, 51, ""},  // NT 3.51: minor is not 0
        {kPlatformWin32NT, 4, 0, "Windows NT"},
        {kPlatformWin32NT, 4, 1, ""},
        {kPlatformWin32NT, 5, 0, "Windows 2000"},
        {kPlatformWin32NT, 5, 1, "Windows XP"},
        {kPlatformWin32NT, 5, 2, "Windows 2003"},
        {kPlatformWin32NT, 5, 3, ""},
        {kPlatformWin32NT, 6, 0, "Windows Vista"},  // also Server 2008, same numbers
        {kPlatformWin32NT, 6, 1, ""},               // Windows 7
        {kPlatformWin32NT, 6, 2, ""},
        {kPlatformWin32NT, 10, 0, ""},
        {kPlatformWin32NT, 2, 0, ""},
        {kPlatformWin32Windows, 4, 0, "Windows 95"},
        {kPlatformWin32Windows, 4, 10, "Windows 98"},
        {kPlatformWin32Windows, 4, 90, "Windows Me"},
        {kPlatformWin32Windows, 4, 3, ""},
        {kPlatformWin32Windows, 5, 0, ""},
        {kPlatformWin32s, 3, 1, ""},
        {kPlatformWin32s, 4, 0, ""},
    };
    for (const ProductCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.Platform) + " " + std::to_string(c.Major) + "." + std::to_string(c.Minor));
        EXPECT_EQ(WindowsProductName(OsVersion{c.Platform, c.Major, c.Minor}), c.Name);
    }
}

TEST(WindowsProduct, AnUnknownPlatformRaises) {
    for (uint32_t platform : {3u, 0xFFFFFFFFu}) {
        try {
            WindowsProductName(OsVersion{platform, 6, 0});
            ADD_FAILURE() << "no error for platform " << platform;
        } catch (const KorbelaError& error) {
            EXPECT_STREQ(error.what(), "Unrecognized operating system platform");
        }
    }
}

TEST(ExeInfo, TranslationKeyIsEightUpperCaseHexDigits) {
    EXPECT_EQ(TranslationKey(0x0809, 0x04E4), "080904E4");
    EXPECT_EQ(TranslationKey(0x0409, 0x04B0), "040904B0");
    EXPECT_EQ(TranslationKey(0xABCD, 0x0001), "ABCD0001");
    EXPECT_EQ(TranslationKey(0, 0), "00000000");
}

// A version resource held in a table; remembers what was asked.
class FakeVersionResource : public IVersionResource {
public:
    bool Present = true;
    std::optional<std::pair<uint16_t, uint16_t>> Translation = std::make_pair(uint16_t{0x0809}, uint16_t{0x04E4});
    std::map<std::string, std::string> Strings;
    std::vector<std::string> Queries;

    bool HasResource() override { return Present; }
    std::optional<std::pair<uint16_t, uint16_t>> FirstTranslation() override {
        return Present ? Translation : std::nullopt;
    }
    std::optional<std::string> QueryString(const std::string& subBlock) override {
        Queries.push_back(subBlock);
        const auto it = Strings.find(subBlock);
        if (!Present || it == Strings.end()) return std::nullopt;
        return it->second;
    }
};

TEST(ExeInfo, FileVersionComesFromTheFirstTranslation) {
    FakeVersionResource resource;
    resource.Strings["StringFileInfo\\080904E4\\FileVersion"] = "1.3.0.1";
    resource.Strings["StringFileInfo\\040904B0\\FileVersion"] = "9.9.9.9";

    const TExeInfo info(resource);

    EXPECT_EQ(info.FileVersion(), "1.3.0.1");
}

TEST(ExeInfo, WithoutAResourceTheTextStaysUpdatedAtRunTime) {
    FakeVersionResource resource;
    resource.Present = false;

    const TExeInfo info(resource);

    EXPECT_EQ(info.FileVersion(), "Updated at run-time");
    EXPECT_TRUE(resource.Queries.empty());
}

TEST(ExeInfo, AResourceWithoutTheEntryGivesAnEmptyText) {
    struct Case {
        const char* What;
        std::optional<std::pair<uint16_t, uint16_t>> Translation;
        std::map<std::string, std::string> Strings;
    };
    const Case cases[] = {
        {"entry only under another translation", std::make_pair(uint16_t{0x0809}, uint16_t{0x04E4}),
         {{"StringFileInfo\\040904B0\\FileVersion", "1.3.0.1"}}},
        {"other entries only", std::make_pair(uint16_t{0x0809}, uint16_t{0x04E4}),
         {{"StringFileInfo\\080904E4\\ProductVersion", "1.3.0.1"}}},
        {"no translation at all", std::nullopt, {{"StringFileInfo\\080904E4\\FileVersion", "1.3.0.1"}}},
        {"empty entry", std::make_pair(uint16_t{0x0809}, uint16_t{0x04E4}),
         {{"StringFileInfo\\080904E4\\FileVersion", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        FakeVersionResource resource;
        resource.Translation = c.Translation;
        resource.Strings = c.Strings;

        EXPECT_EQ(TExeInfo(resource).FileVersion(), "");
    }
}

}  // namespace
}  // namespace korbela
