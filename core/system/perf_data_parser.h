// A bounds-checked walk through one NT performance data block, as returned for the value "238"
// under HKEY_PERFORMANCE_DATA: the processor object, its processor time counter, the counter
// value and name of each instance, and the block's time. The block comes from the system, but
// nothing in it is trusted: every offset and length is checked against the bytes returned before
// it is followed, and every step must move forward, so a damaged block fails the walk instead
// of reading outside the buffer or looping.
#pragma once

#include <cstdint>
#include <span>

namespace korbela {

class PerfDataParser {
public:
    // block: the bytes the query returned; not owned, must outlive the parser.
    explicit PerfDataParser(std::span<const uint8_t> block) : block_(block) {}

    // Finds the first object with the processor title index. False, with Error() set, when the
    // block is damaged or lists no processor object.
    bool FindProcessorObject();
    // The processor object's NumInstances, checked to be possible for its size.
    int32_t NumInstances() const { return numInstances_; }

    // Reads, for the first counters.size() instances in block order, the processor time counter
    // into counters; combinedIndex becomes the index of "_Total" among them (or -1), stamp the
    // block's SystemTime on the FILETIME scale. Needs FindProcessorObject first. False, with
    // Error() set, on a missing counter, fewer instances than asked for, a damaged layout or an
    // invalid time; counters may then be partly written, combinedIndex and stamp are untouched.
    bool ReadCounters(std::span<int64_t> counters, int32_t& combinedIndex, int64_t& stamp);

    // Internal diagnostics, never shown to the user.
    const char* Error() const { return error_; }

private:
    bool Fits(uint64_t offset, uint64_t byteCount, uint64_t end) const;
    uint32_t U32(uint64_t offset) const;
    bool Fail(const char* error);
    bool FindCounterOffset(uint32_t& counterOffset);
    bool IsCombinedName(uint64_t nameOffset, uint32_t nameLength) const;
    bool ReadStamp(int64_t& stamp);

    std::span<const uint8_t> block_;  // not owned
    uint64_t blockEnd_ = 0;
    uint64_t object_ = 0;
    uint64_t objectEnd_ = 0;
    int32_t numInstances_ = -1;
    const char* error_ = "";
};

}  // namespace korbela
