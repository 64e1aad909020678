// The program placed in a folder whose name the ANSI code page cannot spell,
// as under a user's own name in another script: it starts from there, and
// the Run value and the installation record name that folder exactly.
#include <windows.h>

#include <optional>
#include <string>

#include "harness/wine_test.h"
#include "win32/system/utf8.h"

namespace korbela::wine {
namespace {

// Greek, Cyrillic and Japanese letters: none of them is in code page 1252.
constexpr wchar_t kFolderName[] = L"Κορμπέλα Тест 試験";

std::optional<std::wstring> ReadWideString(HKEY root, const char* path, const wchar_t* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, Utf8ToWide(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    wchar_t text[1024] = {};
    DWORD size = sizeof(text) - sizeof(wchar_t);  // a terminator always follows
    DWORD type = REG_NONE;
    const LONG result = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
    return std::wstring(text);
}

class UnicodeFolder : public WineTest {
protected:
    void SetUp() override {
        WineTest::SetUp();
        folder = Utf8ToWide(BinFolder()) + kFolderName;
        exe = folder + L"\\korbela.exe";
        CreateDirectoryW(folder.c_str(), nullptr);  // it may be left from a run that was killed
        ASSERT_TRUE(CopyFileW(Utf8ToWide(KorbelaExePath()).c_str(), exe.c_str(), FALSE)) << GetLastError();
    }

    void TearDown() override {
        WineTest::TearDown();
        // The file of a program that has just ended can stay locked for a moment.
        WaitUntil([this] { return DeleteFileW(exe.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; },
                  std::chrono::seconds(10));
        RemoveDirectoryW(folder.c_str());
        DeleteProgramRegistryState();
    }

    std::wstring folder;
    std::wstring exe;
};

TEST_F(UnicodeFolder, StartWithWindowsAndTheInstallationRecordNameTheRealPath) {
    WriteDword(HKEY_CURRENT_USER, kSettingsKey, "Auto Start", 1);
    ASSERT_TRUE(program.Start(WideToUtf8(exe)))
        << "korbela.exe did not come up from its folder: " << program.StartReport();
    ASSERT_TRUE(WaitUntil([] { return ReadWideString(HKEY_LOCAL_MACHINE, kRunKey, L"Korbela").has_value(); }));
    EXPECT_EQ(ReadWideString(HKEY_LOCAL_MACHINE, kRunKey, L"Korbela"), L"\"" + exe + L"\"");
    EXPECT_EQ(ReadWideString(HKEY_LOCAL_MACHINE, kSettingsKey, L"Install Location"), folder + L"\\");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kSettingsKey, "Current Version"), "1.3.0.1")
        << "the version resource is read from the program's own path";
}

}  // namespace
}  // namespace korbela::wine
