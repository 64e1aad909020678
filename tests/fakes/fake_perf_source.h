// The performance data of a fake system: it answers ERROR_MORE_DATA until the buffer can hold
// the whole block, as HKEY_PERFORMANCE_DATA does, and remembers every size it was asked with.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/system/cpu_usage.h"

namespace korbela::testing {

class FakePerfSource : public IPerfDataSource {
public:
    long QueryProcessorData(uint8_t* buffer, uint32_t& size) override {
        askedSizes.push_back(size);
        if (alwaysMoreData || size < answer.size()) return kErrorMoreData;
        std::copy(answer.begin(), answer.end(), buffer);
        size = static_cast<uint32_t>(answer.size());
        return error;
    }

    std::vector<uint8_t> answer;  // the block the system holds now
    long error = kErrorSuccess;   // what the query answers once the buffer is big enough
    bool alwaysMoreData = false;
    std::vector<uint32_t> askedSizes;
};

}  // namespace korbela::testing
