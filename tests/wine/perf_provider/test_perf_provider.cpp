// A performance-data provider for the integration tests, never shipped: it
// makes HKEY_PERFORMANCE_DATA "238" answer with a Processor object laid out
// as Windows lays it out, so that the real program's CPU reading runs end to
// end under Wine. The loads come from the registry, set by the test while the
// program runs:
//   HKLM\System\CurrentControlSet\Services\zzKorbelaTestPerf\Performance
//     "Load 0", "Load 1"   DWORD, busy percent of each processor
//     "Load _Total"        DWORD, optional; the mean of the two when missing
// Wine loads and frees the library on every query, so what must last from one
// query to the next (the idle-time counters and when they were taken) is kept
// there too, and "Collects" counts the queries answered.
#include <windows.h>
#include <winperf.h>

#include <cstddef>
#include <cstring>

namespace {

constexpr wchar_t kKey[] = L"System\\CurrentControlSet\\Services\\zzKorbelaTestPerf\\Performance";
constexpr DWORD kProcessorObject = 238;
constexpr DWORD kProcessorTime = 6;    // "% Processor Time"
constexpr DWORD kUserTime = 142;       // "% User Time"
constexpr DWORD kPrivilegedTime = 144; // "% Privileged Time"
constexpr int kInstanceCount = 3;
const wchar_t* const kInstanceNames[kInstanceCount] = {L"0", L"1", L"_Total"};
constexpr int kCounterCount = 3;

struct CounterData {
    PERF_COUNTER_BLOCK block;
    DWORD pad;  // the counters start 8-byte aligned
    LONGLONG userTime;
    LONGLONG processorTime;  // idle time: the counter is inverse
    LONGLONG privilegedTime;
};

constexpr DWORD Align8(std::size_t size) { return static_cast<DWORD>((size + 7) & ~std::size_t{7}); }

DWORD NameBytes(const wchar_t* name) { return static_cast<DWORD>((lstrlenW(name) + 1) * sizeof(wchar_t)); }

DWORD InstanceBytes(const wchar_t* name) {
    return Align8(sizeof(PERF_INSTANCE_DEFINITION) + NameBytes(name)) + static_cast<DWORD>(sizeof(CounterData));
}

DWORD ObjectBytes() {
    DWORD size = sizeof(PERF_OBJECT_TYPE) + kCounterCount * sizeof(PERF_COUNTER_DEFINITION);
    for (const wchar_t* name : kInstanceNames) size += InstanceBytes(name);
    return size;
}

// A value of the given type and size, or the fallback when it is missing or
// of another type.
template <typename T>
T ReadValue(HKEY key, const wchar_t* name, DWORD wantedType, T fallback) {
    T value{};
    DWORD size = sizeof(value);
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != wantedType || size != sizeof(value)) {
        return fallback;
    }
    return value;
}

DWORD ReadDword(HKEY key, const wchar_t* name, DWORD fallback) { return ReadValue(key, name, REG_DWORD, fallback); }

ULONGLONG ReadQword(HKEY key, const wchar_t* name, ULONGLONG fallback) {
    return ReadValue(key, name, REG_QWORD, fallback);
}

void WriteQword(HKEY key, const wchar_t* name, ULONGLONG value) {
    RegSetValueExW(key, name, 0, REG_QWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

// Idle time of each instance in 100-ns units, advanced since the last query
// by the share of the elapsed time that the instance's load leaves idle.
void AdvanceIdleTimes(LONGLONG (&idle)[kInstanceCount]) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
        for (LONGLONG& value : idle) value = 0;
        return;
    }
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG stamp = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    const ULONGLONG last = ReadQword(key, L"Stamp", stamp);
    const ULONGLONG elapsed = stamp > last ? stamp - last : 0;
    DWORD loads[kInstanceCount] = {ReadDword(key, L"Load 0", 0), ReadDword(key, L"Load 1", 0), 0};
    loads[2] = ReadDword(key, L"Load _Total", (loads[0] + loads[1]) / 2);
    for (int i = 0; i < kInstanceCount; ++i) {
        wchar_t name[32] = L"Idle ";
        lstrcatW(name, kInstanceNames[i]);
        const DWORD load = loads[i] > 100 ? 100 : loads[i];
        const ULONGLONG value = ReadQword(key, name, 0) + elapsed * (100 - load) / 100;
        WriteQword(key, name, value);
        idle[i] = static_cast<LONGLONG>(value);
    }
    WriteQword(key, L"Stamp", stamp);
    const DWORD collects = ReadDword(key, L"Collects", 0) + 1;
    RegSetValueExW(key, L"Collects", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&collects), sizeof(collects));
    RegCloseKey(key);
}

bool AsksForProcessor(const wchar_t* query) {
    if (query == nullptr || *query == 0 || lstrcmpiW(query, L"Global") == 0) return true;
    // A list of decimal title indexes separated by blanks.
    for (const wchar_t* p = query; *p != 0;) {
        while (*p == L' ') ++p;
        DWORD index = 0;
        bool digits = false;
        while (*p >= L'0' && *p <= L'9') {
            index = index * 10 + static_cast<DWORD>(*p++ - L'0');
            digits = true;
        }
        if (digits && index == kProcessorObject) return true;
        while (*p != 0 && *p != L' ') ++p;
    }
    return false;
}

// Where the object goes: the end of the block so far. Wine hands a provider a
// pointer one PERF_DATA_BLOCK past that place; the block's header, found just
// before, tells where its data really ends. Windows hands the right place.
BYTE* ObjectPlace(BYTE* given) {
    for (std::size_t back = 8; back <= 1024; back += 8) {
        const auto* block = reinterpret_cast<const PERF_DATA_BLOCK*>(given - back);
        if (std::memcmp(block->Signature, L"PERF", sizeof(block->Signature)) != 0) continue;
        if (block->HeaderLength < sizeof(PERF_DATA_BLOCK) || block->TotalByteLength > back) continue;
        const std::size_t gap = back - block->TotalByteLength;
        if (gap == 0 || gap == sizeof(PERF_DATA_BLOCK)) return given - gap;
    }
    return given;
}

void FillCounterDefinition(PERF_COUNTER_DEFINITION& counter, DWORD title, DWORD type, DWORD offset) {
    counter.ByteLength = sizeof(PERF_COUNTER_DEFINITION);
    counter.CounterNameTitleIndex = title;
    counter.CounterHelpTitleIndex = title + 1;
    counter.DetailLevel = PERF_DETAIL_NOVICE;
    counter.CounterType = type;
    counter.CounterSize = sizeof(LONGLONG);
    counter.CounterOffset = offset;
}

}  // namespace

extern "C" {

__declspec(dllexport) DWORD WINAPI OpenKorbelaTestPerf(LPWSTR) { return ERROR_SUCCESS; }

__declspec(dllexport) DWORD WINAPI CloseKorbelaTestPerf() { return ERROR_SUCCESS; }

__declspec(dllexport) DWORD WINAPI CollectKorbelaTestPerf(LPWSTR query, LPVOID* data, LPDWORD bytes,
                                                         LPDWORD objectCount) {
    if (!AsksForProcessor(query)) {
        *bytes = 0;
        *objectCount = 0;
        return ERROR_SUCCESS;
    }
    const DWORD size = ObjectBytes();
    if (*bytes < size) {
        *bytes = 0;
        *objectCount = 0;
        return ERROR_MORE_DATA;
    }
    BYTE* const start = ObjectPlace(static_cast<BYTE*>(*data));
    std::memset(start, 0, size);

    LONGLONG idle[kInstanceCount] = {};
    AdvanceIdleTimes(idle);
    LARGE_INTEGER now{};
    LARGE_INTEGER frequency{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);

    auto* object = reinterpret_cast<PERF_OBJECT_TYPE*>(start);
    object->TotalByteLength = size;
    object->DefinitionLength = sizeof(PERF_OBJECT_TYPE) + kCounterCount * sizeof(PERF_COUNTER_DEFINITION);
    object->HeaderLength = sizeof(PERF_OBJECT_TYPE);
    object->ObjectNameTitleIndex = kProcessorObject;
    object->ObjectHelpTitleIndex = kProcessorObject + 1;
    object->DetailLevel = PERF_DETAIL_NOVICE;
    object->NumCounters = kCounterCount;
    object->DefaultCounter = 1;
    object->NumInstances = kInstanceCount;
    object->PerfTime = now;
    object->PerfFreq = frequency;

    // "% Processor Time" is not the first definition, as on Windows.
    auto* counters = reinterpret_cast<PERF_COUNTER_DEFINITION*>(start + object->HeaderLength);
    FillCounterDefinition(counters[0], kUserTime, PERF_100NSEC_TIMER, offsetof(CounterData, userTime));
    FillCounterDefinition(counters[1], kProcessorTime, PERF_100NSEC_TIMER_INV, offsetof(CounterData, processorTime));
    FillCounterDefinition(counters[2], kPrivilegedTime, PERF_100NSEC_TIMER, offsetof(CounterData, privilegedTime));

    BYTE* at = start + object->DefinitionLength;
    for (int i = 0; i < kInstanceCount; ++i) {
        auto* instance = reinterpret_cast<PERF_INSTANCE_DEFINITION*>(at);
        const DWORD nameBytes = NameBytes(kInstanceNames[i]);
        instance->ByteLength = Align8(sizeof(PERF_INSTANCE_DEFINITION) + nameBytes);
        instance->UniqueID = PERF_NO_UNIQUE_ID;
        instance->NameOffset = sizeof(PERF_INSTANCE_DEFINITION);
        instance->NameLength = nameBytes;
        std::memcpy(at + instance->NameOffset, kInstanceNames[i], nameBytes);
        auto* values = reinterpret_cast<CounterData*>(at + instance->ByteLength);
        values->block.ByteLength = sizeof(CounterData);
        values->processorTime = idle[i];
        values->userTime = idle[i] / 3;
        values->privilegedTime = idle[i] / 5;
        at += InstanceBytes(kInstanceNames[i]);
    }

    *data = start + size;
    *bytes = size;
    *objectCount = 1;
    return ERROR_SUCCESS;
}

}  // extern "C"
