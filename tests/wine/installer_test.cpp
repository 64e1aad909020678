// The setup and the uninstaller as an administrator meets them: a silent
// installation into Program Files with a Start-menu shortcut and an entry in
// the list of installed programs, and a silent removal that takes all of it
// away again, with what the program wrote for the machine, but keeps the
// user's settings.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <vector>

#include "harness/chm_directory.h"
#include "harness/wine_test.h"

namespace korbela::wine {
namespace {

constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Korbela Lite";
constexpr char kWineOverrides[] = "Software\\Wine\\DllOverrides";
constexpr char kMenuBuilder[] = "winemenubuilder.exe";

std::string KnownFolder(int csidl) {
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return std::string();
    return path;
}

std::string InstallFolder() { return KnownFolder(CSIDL_PROGRAM_FILES) + "\\Korbela Lite"; }
std::string InstalledExe() { return InstallFolder() + "\\korbela.exe"; }
std::string InstalledManual() { return InstallFolder() + "\\Korbela Lite.chm"; }
std::string Uninstaller() { return InstallFolder() + "\\Uninstall.exe"; }
std::string Shortcut() { return KnownFolder(CSIDL_COMMON_PROGRAMS) + "\\Korbela Lite.lnk"; }
std::string SetupPath() { return BinFolder() + "korbela-setup.exe"; }

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool KeyExists(HKEY root, const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void WriteString(HKEY root, const char* path, const char* name, const std::string& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
    }
}

void DeleteRegValueIn(HKEY root, const char* path, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, name);
        RegCloseKey(key);
    }
}

// Runs a program and waits for its end; the exit code, or nullopt when it did
// not start or did not end in time. The shell is asked, as a user's double
// click would, so that a setup that needs elevation gets it.
std::optional<DWORD> RunAndWait(const std::string& file, const std::string& parameters) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    info.lpFile = file.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&info) || info.hProcess == nullptr) return std::nullopt;
    std::optional<DWORD> result;
    if (WaitForSingleObject(info.hProcess, 120000) == WAIT_OBJECT_0) {
        DWORD code = 0;
        if (GetExitCodeProcess(info.hProcess, &code)) result = code;
    }
    CloseHandle(info.hProcess);
    return result;
}

std::optional<DWORD> InstallSilently() { return RunAndWait(SetupPath(), "/S"); }

// "_?=" keeps the uninstaller from copying itself away, so it runs in place
// and its end is the end of the removal. It cannot delete itself then; that
// and the folder are left to the caller.
std::optional<DWORD> UninstallSilently() { return RunAndWait(Uninstaller(), "/S _?=" + InstallFolder()); }

std::string ShortcutTarget(const std::string& link) {
    std::string target;
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkA* shellLink = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&shellLink)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            std::wstring wide(link.begin(), link.end());
            char path[MAX_PATH] = {};
            if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ)) &&
                SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, 0))) {
                target = path;
            }
            file->Release();
        }
        shellLink->Release();
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return target;
}

std::optional<std::string> FileVersionText(const std::string& path) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0) return std::nullopt;
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return std::nullopt;
    WORD* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                        &length) ||
        length < 2 * sizeof(WORD)) {
        return std::nullopt;
    }
    char query[64] = {};
    std::snprintf(query, sizeof(query), "\\StringFileInfo\\%04x%04x\\FileVersion", translation[0],
                  translation[1]);
    char* text = nullptr;
    if (!VerQueryValueA(block.data(), query, reinterpret_cast<void**>(&text), &length) || length == 0) {
        return std::nullopt;
    }
    return std::string(text);
}

bool SameBytes(const std::string& a, const std::string& b) {
    const auto first = ReadWholeFile(a);
    const auto second = ReadWholeFile(b);
    return first && second && !first->empty() && *first == *second;
}

class Installer : public WineTest {
protected:
    void SetUp() override {
        WineTest::SetUp();
        KeepShortcutsOutOfTheHostMenus();
        RemoveInstallation();
        ASSERT_TRUE(Exists(SetupPath())) << SetupPath() << " is missing";
    }
    void TearDown() override {
        WineTest::TearDown();
        RemoveInstallation();
        if (!menuBuilderWasSet_) DeleteRegValueIn(HKEY_CURRENT_USER, kWineOverrides, kMenuBuilder);
    }

    // Wine mirrors every Start-menu shortcut into the host desktop's menus,
    // where no uninstaller removes it again; a test must leave nothing there.
    // Disabling Wine's menu builder for the test's own prefix prevents that
    // (the key means nothing on Windows).
    void KeepShortcutsOutOfTheHostMenus() {
        menuBuilderWasSet_ = ReadString(HKEY_CURRENT_USER, kWineOverrides, kMenuBuilder).has_value();
        if (!menuBuilderWasSet_) WriteString(HKEY_CURRENT_USER, kWineOverrides, kMenuBuilder, "");
    }

    // Whatever an earlier test left behind, so that every test starts clean.
    static void RemoveInstallation() {
        if (Exists(Uninstaller())) UninstallSilently();
        DeleteFileA(InstalledExe().c_str());
        DeleteFileA(InstalledManual().c_str());
        DeleteFileA(Uninstaller().c_str());
        RemoveDirectoryA(InstallFolder().c_str());
        DeleteFileA(Shortcut().c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstallKey);
        DeleteProgramRegistryState();
    }

    // The uninstaller in place cannot remove itself: the caller does, and the
    // folder must then be empty.
    static bool RemoveUninstallerAndFolder() {
        if (Exists(Uninstaller()) && !DeleteFileA(Uninstaller().c_str())) return false;
        if (Exists(InstallFolder()) && !RemoveDirectoryA(InstallFolder().c_str())) return false;
        return !Exists(InstallFolder());
    }

    void InstallAndStartWithAutoStart() {
        ASSERT_EQ(InstallSilently(), std::optional<DWORD>(0));
        WriteDword(HKEY_CURRENT_USER, kSettingsKey, "Auto Start", 1);
        ASSERT_TRUE(program.Start(InstalledExe()))
            << "the installed program did not come up: " << program.StartReport();
        ASSERT_TRUE(WaitUntil([] {
            return ReadString(HKEY_LOCAL_MACHINE, kRunKey, "Korbela").has_value() &&
                   ReadString(HKEY_LOCAL_MACHINE, kSettingsKey, "Current Version").has_value();
        })) << "no Run value and installation record";
    }

    bool menuBuilderWasSet_ = false;
};

TEST_F(Installer, SetupCarriesTheProgramsVersion) {
    EXPECT_EQ(FileVersionText(SetupPath()), std::optional<std::string>("1.3.0.1"));
    EXPECT_EQ(FileVersionText(SetupPath()), FileVersionText(KorbelaExePath()));
}

TEST_F(Installer, SilentSetupInstallsTheProgramItsManualAShortcutAndAnUninstallEntry) {
    ASSERT_EQ(InstallSilently(), std::optional<DWORD>(0));
    ASSERT_TRUE(WaitUntil([] { return Exists(Uninstaller()); })) << Uninstaller();

    EXPECT_TRUE(SameBytes(InstalledExe(), KorbelaExePath())) << InstalledExe();
    EXPECT_TRUE(SameBytes(InstalledManual(), BinFolder() + "Korbela Lite.chm")) << InstalledManual();
    ASSERT_TRUE(Exists(Shortcut())) << Shortcut();
    EXPECT_EQ(lstrcmpiA(ShortcutTarget(Shortcut()).c_str(), InstalledExe().c_str()), 0) << ShortcutTarget(Shortcut());

    const std::string folder = InstallFolder();
    const std::string uninstaller = "\"" + Uninstaller() + "\"";
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"), "Korbela Lite");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion"), "1.3.0.1");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "Publisher"), "Quillmarsh");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"), uninstaller);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "QuietUninstallString"), uninstaller + " /S");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "InstallLocation"), folder);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon"), InstalledExe() + ",0");
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kUninstallKey, "NoModify"), std::optional<DWORD>(1));
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kUninstallKey, "NoRepair"), std::optional<DWORD>(1));

    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, kRunKey, "Korbela").has_value())
        << "the setup does not start the program with Windows by itself";
}

TEST_F(Installer, SilentUninstallRemovesWhatSetupAndProgramWroteButKeepsTheSettings) {
    InstallAndStartWithAutoStart();
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kRunKey, "Korbela"), "\"" + InstalledExe() + "\"");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kSettingsKey, "Install Location"), InstallFolder() + "\\");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kSettingsKey, "Current Version"), "1.3.0.1");
    ASSERT_TRUE(program.ExitThroughTrayMenu());
    // What a start without administrator rights leaves instead of the machine's value.
    WriteString(HKEY_CURRENT_USER, kRunKey, "Korbela", "\"" + InstalledExe() + "\"");

    ASSERT_EQ(UninstallSilently(), std::optional<DWORD>(0));
    EXPECT_FALSE(Exists(InstalledExe()));
    EXPECT_FALSE(Exists(InstalledManual()));
    EXPECT_TRUE(RemoveUninstallerAndFolder()) << "nothing else is left in " << InstallFolder();
    EXPECT_FALSE(Exists(Shortcut()));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, kRunKey, "Korbela").has_value());
    EXPECT_FALSE(ReadString(HKEY_CURRENT_USER, kRunKey, "Korbela").has_value());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kSettingsKey)) << "the installation record";

    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kSettingsKey, "Auto Start"), std::optional<DWORD>(1));
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kSettingsKey, "Target RAM"), std::optional<DWORD>(50));
}

TEST_F(Installer, UninstallEndsARunningCopyFirst) {
    InstallAndStartWithAutoStart();
    ASSERT_NE(program.ApplicationWindow(), nullptr);

    ASSERT_EQ(UninstallSilently(), std::optional<DWORD>(0));
    ASSERT_TRUE(program.Exited(std::chrono::seconds(10)));
    EXPECT_EQ(program.ExitCode(), 0u) << "ended the ordinary way, not killed";
    EXPECT_FALSE(Exists(InstalledExe())) << "a running program's file could not have gone";
    EXPECT_TRUE(RemoveUninstallerAndFolder());
}

TEST_F(Installer, AnotherSetupOverARunningCopyReplacesItsFiles) {
    InstallAndStartWithAutoStart();
    ASSERT_EQ(InstallSilently(), std::optional<DWORD>(0));
    EXPECT_TRUE(program.Exited(std::chrono::seconds(10))) << "the running copy was ended";
    EXPECT_TRUE(SameBytes(InstalledExe(), KorbelaExePath()));
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion"), "1.3.0.1");
}

}  // namespace
}  // namespace korbela::wine
