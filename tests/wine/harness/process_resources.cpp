#include "harness/process_resources.h"

#include <psapi.h>
#include <winternl.h>

#include <cstring>
#include <string>
#include <vector>

namespace korbela::wine {

namespace {

constexpr ULONG kSystemHandleInformation = 16;
constexpr LONG kStatusInfoLengthMismatch = static_cast<LONG>(0xC0000004);

using NtQuerySystemInformationFn = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
using NtQueryInformationProcessFn = LONG(WINAPI*)(HANDLE, ULONG, void*, ULONG, ULONG*);
using NtQueryObjectFn = LONG(WINAPI*)(HANDLE, ULONG, void*, ULONG, ULONG*);

template <typename Function>
Function NtdllEntry(const char* name) {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (ntdll == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(ntdll, name)));
}

// One entry of the system handle list, as Wine lays it out. Windows has a
// 16-bit process ID and a back-trace index in the first four bytes, which
// reads the same for the small IDs that Wine hands out.
struct SystemHandleEntry {
    ULONG ownerProcessId;
    BYTE objectType;
    BYTE flags;
    USHORT handleValue;
    void* object;
    ULONG grantedAccess;
};

// The handles of one process in the system handle list. Wine 8 answers
// GetProcessHandleCount with 0, but this list names the owner of every handle.
std::vector<SystemHandleEntry> ListProcessHandles(DWORD processId) {
    std::vector<SystemHandleEntry> handles;
    const std::vector<char> buffer = QuerySystemInformation(kSystemHandleInformation);
    const std::size_t entriesOffset = sizeof(ULONG_PTR);  // the count, padded to the entries' alignment
    if (buffer.size() < entriesOffset) return handles;
    ULONG entryCount = 0;
    std::memcpy(&entryCount, buffer.data(), sizeof(entryCount));
    if (entryCount > (buffer.size() - entriesOffset) / sizeof(SystemHandleEntry)) return handles;
    for (ULONG i = 0; i < entryCount; ++i) {
        SystemHandleEntry entry{};
        std::memcpy(&entry, buffer.data() + entriesOffset + i * sizeof(SystemHandleEntry), sizeof(entry));
        if (entry.ownerProcessId == processId) handles.push_back(entry);
    }
    return handles;
}

constexpr ULONG kObjectNameInformation = 1;
constexpr ULONG kObjectTypeInformation = 2;

// The type or name of an object; both answers start with a UNICODE_STRING.
std::wstring ObjectText(HANDLE object, ULONG informationClass) {
    const auto query = NtdllEntry<NtQueryObjectFn>("NtQueryObject");
    if (query == nullptr) return {};
    alignas(UNICODE_STRING) char buffer[4096] = {};
    ULONG returnedSize = 0;
    if (query(object, informationClass, buffer, sizeof(buffer), &returnedSize) != 0) return {};
    UNICODE_STRING text{};
    std::memcpy(&text, buffer, sizeof(text));
    if (text.Buffer == nullptr) return {};
    return std::wstring(text.Buffer, text.Length / sizeof(WCHAR));
}

// Wine 8 loads and frees every performance provider on each query of
// HKEY_PERFORMANCE_DATA, and its spooler's provider (winspool.drv) creates
// this mutex each time it is loaded and never closes it: one more handle in
// the querying process per query, whoever the caller.
bool IsWineSpoolerMutex(HANDLE process, USHORT handleValue) {
    HANDLE copy = nullptr;
    if (!DuplicateHandle(process, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(handleValue)), GetCurrentProcess(),
                         &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        return false;
    }
    // Only a mutex is asked for its name: a name query can block on some kinds of files.
    const std::wstring suffix = L"\\__WINE_WINSPOOL_MUTEX__";
    bool spooler = false;
    if (ObjectText(copy, kObjectTypeInformation) == L"Mutant") {
        const std::wstring name = ObjectText(copy, kObjectNameInformation);
        spooler = name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
    }
    CloseHandle(copy);
    return spooler;
}

// Wine keeps a process's GDI objects in a table inside that process, found
// through the PEB's GdiSharedHandleTable as on old Windows; an entry in use
// has a nonzero type. The table holds the stock objects too.
struct WineGdiEntry {
    uint64_t object;
    uint32_t owner;
    uint16_t unique;
    uint8_t type;
    uint8_t flags;
    uint64_t userPointer;
};
static_assert(sizeof(WineGdiEntry) == 24, "the layout of Wine's GDI_HANDLE_ENTRY");
constexpr std::size_t kWineGdiEntryCount = 0x10000;
#ifdef _WIN64
constexpr std::size_t kPebGdiSharedHandleTableOffset = 0xF8;
#else
constexpr std::size_t kPebGdiSharedHandleTableOffset = 0x94;
#endif

uint64_t CountWineGdiTableEntries(HANDLE process) {
    const auto query = NtdllEntry<NtQueryInformationProcessFn>("NtQueryInformationProcess");
    if (query == nullptr) return 0;
    PROCESS_BASIC_INFORMATION basic{};
    ULONG returnedSize = 0;
    if (query(process, ProcessBasicInformation, &basic, sizeof(basic), &returnedSize) != 0 ||
        basic.PebBaseAddress == nullptr) {
        return 0;
    }
    void* table = nullptr;
    SIZE_T read = 0;
    const char* tableField = reinterpret_cast<const char*>(basic.PebBaseAddress) + kPebGdiSharedHandleTableOffset;
    if (!ReadProcessMemory(process, tableField, &table, sizeof(table), &read) || read != sizeof(table) ||
        table == nullptr) {
        return 0;
    }
    std::vector<WineGdiEntry> entries(kWineGdiEntryCount);
    const SIZE_T tableSize = entries.size() * sizeof(WineGdiEntry);
    if (!ReadProcessMemory(process, table, entries.data(), tableSize, &read) || read != tableSize) return 0;
    uint64_t count = 0;
    for (const WineGdiEntry& entry : entries) count += entry.type != 0;
    return count;
}

struct WindowCount {
    DWORD processId;
    uint64_t count;
};

BOOL CALLBACK CountChild(HWND, LPARAM param) {
    ++reinterpret_cast<WindowCount*>(param)->count;
    return TRUE;
}

void CountWithChildren(HWND window, WindowCount& counter) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != counter.processId) return;
    ++counter.count;
    EnumChildWindows(window, CountChild, reinterpret_cast<LPARAM>(&counter));  // all descendants
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM param) {
    CountWithChildren(window, *reinterpret_cast<WindowCount*>(param));
    return TRUE;
}

}  // namespace

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::vector<char> QuerySystemInformation(ULONG informationClass) {
    const auto query = NtdllEntry<NtQuerySystemInformationFn>("NtQuerySystemInformation");
    if (query == nullptr) return {};
    std::vector<char> buffer(1 << 20);
    ULONG returnedSize = 0;
    LONG status = 0;
    while ((status = query(informationClass, buffer.data(), static_cast<ULONG>(buffer.size()), &returnedSize)) ==
               kStatusInfoLengthMismatch &&
           buffer.size() < (64u << 20)) {
        buffer.resize(buffer.size() * 2);
    }
    if (status != 0 || returnedSize > buffer.size()) return {};
    buffer.resize(returnedSize);
    return buffer;
}

uint64_t CountProcessWindows(DWORD processId) {
    WindowCount counter{processId, 0};
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&counter));
    HWND window = nullptr;
    while ((window = FindWindowExA(HWND_MESSAGE, window, nullptr, nullptr)) != nullptr) {
        CountWithChildren(window, counter);
    }
    return counter.count;
}

ProcessResources ReadProcessResources(HANDLE process, DWORD processId) {
    ProcessResources resources;

    DWORD handleCount = 0;
    if (GetProcessHandleCount(process, &handleCount) && handleCount != 0) {
        resources.handles = {handleCount, "GetProcessHandleCount"};
    } else {
        const std::vector<SystemHandleEntry> handles = ListProcessHandles(processId);
        resources.handles = {handles.size(), "system handle list (GetProcessHandleCount answered 0)"};
        for (const SystemHandleEntry& handle : handles) {
            resources.wineSpoolerMutexes += IsWineSpoolerMutex(process, handle.handleValue);
        }
    }

    const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
    if (gdi != 0) {
        resources.gdiObjects = {gdi, "GetGuiResources"};
    } else if (RunningUnderWine()) {
        resources.gdiObjects = {CountWineGdiTableEntries(process),
                                "Wine's GDI handle table incl. stock objects (GetGuiResources answered 0)"};
    } else {
        resources.gdiObjects = {0, "GetGuiResources"};
    }

    const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
    if (user != 0) {
        resources.userObjects = {user, "GetGuiResources"};
    } else {
        // Windows are the USER objects that can be counted from outside;
        // menus, icons and cursors are not among them.
        resources.userObjects = {CountProcessWindows(processId),
                                 "windows of the process (GetGuiResources answered 0)"};
    }

    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof(memory);
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory))) {
        if (memory.PrivateUsage != 0) {
            resources.privateBytes = {memory.PrivateUsage, "PrivateUsage"};
        } else {
            // On Windows the two are the same commit charge.
            resources.privateBytes = {memory.PagefileUsage, "PagefileUsage (PrivateUsage answered 0)"};
        }
    }
    return resources;
}

}  // namespace korbela::wine
