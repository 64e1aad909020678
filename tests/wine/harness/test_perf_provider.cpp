#include "harness/test_perf_provider.h"

#include <string>

#include "harness/korbela_process.h"
#include "harness/registry_access.h"
#include "win32/system/utf8.h"

namespace korbela::wine {

namespace {

// Last in the registry's order of services, so that the block's other
// objects, if any, come first as on Windows.
constexpr char kServiceKey[] = "System\\CurrentControlSet\\Services\\zzKorbelaTestPerf";
constexpr char kPerformanceKey[] = "System\\CurrentControlSet\\Services\\zzKorbelaTestPerf\\Performance";

void WriteString(HKEY key, const wchar_t* name, const std::wstring& text) {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

TestPerfProvider::TestPerfProvider() {
    Remove();
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kPerformanceKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return;
    }
    WriteString(key, L"Library", Utf8ToWide(BinFolder() + "korbela_test_perf.dll"));
    WriteString(key, L"Open", L"OpenKorbelaTestPerf");
    WriteString(key, L"Collect", L"CollectKorbelaTestPerf");
    WriteString(key, L"Close", L"CloseKorbelaTestPerf");
    RegCloseKey(key);
    registered_ = GetFileAttributesW(Utf8ToWide(BinFolder() + "korbela_test_perf.dll").c_str()) !=
                  INVALID_FILE_ATTRIBUTES;
    SetLoads(0, 0);
}

TestPerfProvider::~TestPerfProvider() { Remove(); }

void TestPerfProvider::SetLoads(DWORD first, DWORD second, std::optional<DWORD> total) {
    WriteDword(HKEY_LOCAL_MACHINE, kPerformanceKey, "Load 0", first);
    WriteDword(HKEY_LOCAL_MACHINE, kPerformanceKey, "Load 1", second);
    if (total) {
        WriteDword(HKEY_LOCAL_MACHINE, kPerformanceKey, "Load _Total", *total);
    } else {
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kPerformanceKey, "Load _Total");
    }
}

DWORD TestPerfProvider::Collects() const {
    return ReadDword(HKEY_LOCAL_MACHINE, kPerformanceKey, "Collects").value_or(0);
}

bool TestPerfProvider::WaitForCollects(DWORD count) const {
    const DWORD target = Collects() + count;
    return WaitUntil([&] { return Collects() >= target; }, std::chrono::seconds(30));
}

void TestPerfProvider::Remove() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kServiceKey);
    registered_ = false;
}

}  // namespace korbela::wine
