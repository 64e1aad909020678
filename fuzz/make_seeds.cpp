// Writes the seed inputs of the CPU sampler's fuzz target into a folder: well-formed blocks as
// the system returns them, alone or two in a row (a first and a later sample).
#include <cstdio>
#include <string>
#include <vector>

#include "fakes/perf_block_builder.h"

namespace {

using korbela::testing::AtSecond;
using korbela::testing::PerfBlockBuilder;

constexpr int64_t kSecond = 10'000'000;

std::vector<uint8_t> Machine(uint16_t second, int processors, int64_t idle, bool otherObject = false) {
    PerfBlockBuilder builder;
    builder.Time(AtSecond(second, 250));
    if (otherObject) builder.OtherObjectFirst();
    for (int i = 0; i < processors; ++i) builder.Instance(std::u16string(1, static_cast<char16_t>(u'0' + i % 10)), idle * (i + 1));
    return builder.Instance(u"_Total", idle).Build().Bytes;
}

std::vector<uint8_t> Joined(std::vector<uint8_t> first, const std::vector<uint8_t>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

bool Write(const std::string& folder, const char* name, const std::vector<uint8_t>& bytes) {
    const std::string path = folder + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const bool ok =
        Write(folder, "one_processor.bin", PerfBlockBuilder().Instance(u"0", kSecond).Build().Bytes) &&
        Write(folder, "four_processors_two_samples.bin",
              Joined(Machine(0, 4, kSecond), Machine(1, 4, kSecond + kSecond / 3))) &&
        Write(folder, "other_object_first.bin",
              Joined(Machine(0, 2, kSecond, true), Machine(2, 2, 2 * kSecond, true))) &&
        Write(folder, "same_time_twice.bin", Joined(Machine(5, 2, kSecond), Machine(5, 2, kSecond))) &&
        Write(folder, "processor_added.bin", Joined(Machine(0, 1, kSecond), Machine(1, 2, kSecond))) &&
        Write(folder, "no_time_counter.bin",
              PerfBlockBuilder().Counters({232, 142}).Instance(u"0", 0).Build().Bytes) &&
        Write(folder, "bigger_than_buffer.bin", Machine(0, 140, kSecond));
    if (!ok) {
        std::fprintf(stderr, "cannot write the seeds into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
