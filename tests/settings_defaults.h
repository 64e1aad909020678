// The settings a first start writes, in the order it writes them: the
// window's nine, then the tray icon's look. The expected values of the native
// settings suite and of the Wine test on the real registry alike.
#pragma once

#include <cstdint>

namespace korbela::testing {

struct NamedDefault {
    const char* Name;
    uint32_t Value;
};

inline constexpr NamedDefault kDefaults[] = {
    {"Auto Start", 0},
    {"Update Period", 1},
    {"Attempts", 2},
    {"Automatic RAM Freeing", 0},
    {"Automatic RAM Free Silent", 1},
    {"Automatic Level", 20},
    {"CPU Threshold", 35},
    {"Target RAM", 50},
    {"Monitor View", 1},
    {"Tray Icon Usage", 0},
};

}  // namespace korbela::testing
