// The core is built without the Windows headers, so it carries its own copies
// of the Win32 values and structure offsets it works with. Each copy is checked
// here against the real headers: a wrong one stops the Windows build.
#include <windows.h>
#include <shellapi.h>
#include <winperf.h>

#include <cstddef>

#include "core/system/os_version.h"
#include "core/system/cpu_usage.h"
#include "core/app/hot_key.h"
#include "core/app/instance_guard.h"
#include "core/tray/notify_shell.h"
#include "core/tray/tray_icon.h"

namespace korbela {
namespace {

// Error codes.
static_assert(kErrorSuccess == ERROR_SUCCESS);
static_assert(kErrorMoreData == ERROR_MORE_DATA);
static_assert(kErrorTimeout == ERROR_TIMEOUT);
static_assert(kErrorAccessDenied == ERROR_ACCESS_DENIED);
static_assert(kErrorAlreadyExists == ERROR_ALREADY_EXISTS);

// GetVersionEx platforms.
static_assert(kPlatformWin32s == VER_PLATFORM_WIN32s);
static_assert(kPlatformWin32Windows == VER_PLATFORM_WIN32_WINDOWS);
static_assert(kPlatformWin32NT == VER_PLATFORM_WIN32_NT);
// The size GetVersionExA is asked with; the 95 family knows no larger record.
static_assert(sizeof(OSVERSIONINFOA) == 148);

// Messages the tray icon's callback and window take.
static_assert(kWmMouseMove == WM_MOUSEMOVE);
static_assert(kWmLButtonDown == WM_LBUTTONDOWN);
static_assert(kWmLButtonUp == WM_LBUTTONUP);
static_assert(kWmLButtonDblClk == WM_LBUTTONDBLCLK);
static_assert(kWmRButtonDown == WM_RBUTTONDOWN);
static_assert(kWmRButtonUp == WM_RBUTTONUP);
static_assert(kWmRButtonDblClk == WM_RBUTTONDBLCLK);
static_assert(kWmMButtonDown == WM_MBUTTONDOWN);
static_assert(kWmMButtonUp == WM_MBUTTONUP);
static_assert(kWmMButtonDblClk == WM_MBUTTONDBLCLK);
static_assert(kWmContextMenu == WM_CONTEXTMENU);
static_assert(kNinKeySelect == NIN_KEYSELECT);
static_assert(kScMinimize == SC_MINIMIZE);
static_assert(kTrayCallbackMessage == WM_USER + 1);

// Shell_NotifyIcon.
static_assert(kNotifyMessage == NIF_MESSAGE);
static_assert(kNotifyIcon == NIF_ICON);
static_assert(kNotifyTip == NIF_TIP);
static_assert(kNotifyIconVersion == NOTIFYICON_VERSION);
static_assert(NOTIFYICONDATAA_V1_SIZE == NotifyIconDataSize(0, sizeof(void*)));
static_assert(NOTIFYICONDATAA_V2_SIZE == NotifyIconDataSize(kShellVersion5, sizeof(void*)));

// RegisterHotKey modifiers.
static_assert(kModAlt == MOD_ALT);
static_assert(kModControl == MOD_CONTROL);
static_assert(kModShift == MOD_SHIFT);
static_assert((kMainWindowHotKey & 0xFF) == 'A');

// The performance data block and its parts.
static_assert(perf::kProcessorTimeCounterIndex == 6);
static_assert(offsetof(PERF_DATA_BLOCK, Signature) == perf::DataBlock::Signature);
static_assert(offsetof(PERF_DATA_BLOCK, TotalByteLength) == perf::DataBlock::TotalByteLength);
static_assert(offsetof(PERF_DATA_BLOCK, HeaderLength) == perf::DataBlock::HeaderLength);
static_assert(offsetof(PERF_DATA_BLOCK, NumObjectTypes) == perf::DataBlock::NumObjectTypes);
static_assert(offsetof(PERF_DATA_BLOCK, SystemTime) == perf::DataBlock::SystemTime);
static_assert(offsetof(PERF_DATA_BLOCK, SystemNameLength) == perf::DataBlock::SystemNameLength);
static_assert(offsetof(PERF_DATA_BLOCK, SystemNameOffset) == perf::DataBlock::SystemNameOffset);
static_assert(sizeof(PERF_DATA_BLOCK) == perf::DataBlock::Size);

static_assert(offsetof(PERF_OBJECT_TYPE, TotalByteLength) == perf::ObjectType::TotalByteLength);
static_assert(offsetof(PERF_OBJECT_TYPE, DefinitionLength) == perf::ObjectType::DefinitionLength);
static_assert(offsetof(PERF_OBJECT_TYPE, HeaderLength) == perf::ObjectType::HeaderLength);
static_assert(offsetof(PERF_OBJECT_TYPE, ObjectNameTitleIndex) == perf::ObjectType::ObjectNameTitleIndex);
static_assert(offsetof(PERF_OBJECT_TYPE, NumCounters) == perf::ObjectType::NumCounters);
static_assert(offsetof(PERF_OBJECT_TYPE, NumInstances) == perf::ObjectType::NumInstances);
static_assert(sizeof(PERF_OBJECT_TYPE) == perf::ObjectType::Size);

static_assert(offsetof(PERF_COUNTER_DEFINITION, ByteLength) == perf::CounterDefinition::ByteLength);
static_assert(offsetof(PERF_COUNTER_DEFINITION, CounterNameTitleIndex) ==
              perf::CounterDefinition::CounterNameTitleIndex);
static_assert(offsetof(PERF_COUNTER_DEFINITION, CounterType) == perf::CounterDefinition::CounterType);
static_assert(offsetof(PERF_COUNTER_DEFINITION, CounterSize) == perf::CounterDefinition::CounterSize);
static_assert(offsetof(PERF_COUNTER_DEFINITION, CounterOffset) == perf::CounterDefinition::CounterOffset);
static_assert(sizeof(PERF_COUNTER_DEFINITION) == perf::CounterDefinition::Size);

static_assert(offsetof(PERF_INSTANCE_DEFINITION, ByteLength) == perf::InstanceDefinition::ByteLength);
static_assert(offsetof(PERF_INSTANCE_DEFINITION, NameOffset) == perf::InstanceDefinition::NameOffset);
static_assert(offsetof(PERF_INSTANCE_DEFINITION, NameLength) == perf::InstanceDefinition::NameLength);
static_assert(sizeof(PERF_INSTANCE_DEFINITION) == perf::InstanceDefinition::Size);

static_assert(offsetof(PERF_COUNTER_BLOCK, ByteLength) == perf::CounterBlock::ByteLength);
static_assert(sizeof(PERF_COUNTER_BLOCK) == perf::CounterBlock::Size);

}  // namespace
}  // namespace korbela
