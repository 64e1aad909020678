#include "harness/chm_directory.h"

#include <fstream>
#include <iterator>

namespace korbela::wine {

namespace {

// ITSF header (version 3): the listing directory's place and content section 0.
constexpr uint64_t kItsfHeaderSize = 0x60;
constexpr uint64_t kItsfDirectoryOffsetAt = 0x48;
constexpr uint64_t kItsfDirectoryLengthAt = 0x50;
constexpr uint64_t kItsfContentOffsetAt = 0x58;
// ITSP header of the directory.
constexpr uint64_t kItspHeaderLengthAt = 0x08;
constexpr uint64_t kItspChunkSizeAt = 0x10;
constexpr uint64_t kItspFirstListingAt = 0x20;
constexpr uint64_t kItspChunkCountAt = 0x2C;
constexpr uint64_t kItspMinimumSize = 0x54;
// PMGL listing chunk.
constexpr uint64_t kPmglFreeSpaceAt = 0x04;
constexpr uint64_t kPmglNextChunkAt = 0x10;
constexpr uint64_t kPmglEntriesAt = 0x14;

class Reader {
public:
    explicit Reader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}

    bool Has(uint64_t offset, uint64_t length) const {
        return offset <= bytes_.size() && length <= bytes_.size() - offset;
    }
    bool Tag(uint64_t offset, const char* tag) const {
        if (!Has(offset, 4)) return false;
        for (int i = 0; i < 4; ++i) {
            if (bytes_[offset + i] != static_cast<uint8_t>(tag[i])) return false;
        }
        return true;
    }
    std::optional<uint64_t> Little(uint64_t offset, int byteCount) const {
        if (!Has(offset, static_cast<uint64_t>(byteCount))) return std::nullopt;
        uint64_t value = 0;
        for (int i = byteCount - 1; i >= 0; --i) value = (value << 8) | bytes_[offset + i];
        return value;
    }
    // The directory's variable-length numbers: 7 bits a byte, most significant
    // first, the top bit set on every byte but the last. Must end before limit.
    std::optional<uint64_t> EncInt(uint64_t& offset, uint64_t limit) const {
        uint64_t value = 0;
        for (int byteCount = 0; byteCount < 10; ++byteCount) {
            if (offset >= limit || !Has(offset, 1)) return std::nullopt;
            const uint8_t byte = bytes_[offset++];
            value = (value << 7) | (byte & 0x7F);
            if ((byte & 0x80) == 0) return value;
        }
        return std::nullopt;
    }
    std::string Text(uint64_t offset, uint64_t length) const {
        return std::string(bytes_.begin() + static_cast<std::ptrdiff_t>(offset),
                           bytes_.begin() + static_cast<std::ptrdiff_t>(offset + length));
    }

private:
    const std::vector<uint8_t>& bytes_;
};

bool ReadListingChunk(const Reader& reader, uint64_t chunkStart, uint64_t chunkSize,
                      std::vector<ChmEntry>& entries, int64_t& next) {
    if (!reader.Has(chunkStart, chunkSize) || !reader.Tag(chunkStart, "PMGL")) return false;
    const auto freeSpace = reader.Little(chunkStart + kPmglFreeSpaceAt, 4);
    const auto nextChunk = reader.Little(chunkStart + kPmglNextChunkAt, 4);
    if (!freeSpace || !nextChunk || *freeSpace > chunkSize - kPmglEntriesAt) return false;
    next = static_cast<int32_t>(static_cast<uint32_t>(*nextChunk));
    uint64_t at = chunkStart + kPmglEntriesAt;
    const uint64_t end = chunkStart + chunkSize - *freeSpace;
    while (at < end) {
        const auto nameLength = reader.EncInt(at, end);
        if (!nameLength || *nameLength > end - at) return false;
        ChmEntry entry;
        entry.name = reader.Text(at, *nameLength);
        at += *nameLength;
        const auto section = reader.EncInt(at, end);
        const auto offset = reader.EncInt(at, end);
        const auto length = reader.EncInt(at, end);
        if (!section || !offset || !length) return false;
        entry.section = *section;
        entry.offset = *offset;
        entry.length = *length;
        entries.push_back(std::move(entry));
    }
    return true;
}

}  // namespace

const ChmEntry* ChmDirectory::Find(const std::string& name) const {
    for (const ChmEntry& entry : entries) {
        if (entry.name == name) return &entry;
    }
    return nullptr;
}

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::optional<ChmDirectory> ReadChmDirectory(const std::vector<uint8_t>& file) {
    const Reader reader(file);
    if (!reader.Tag(0, "ITSF") || !reader.Has(0, kItsfHeaderSize)) return std::nullopt;
    const auto directoryOffset = reader.Little(kItsfDirectoryOffsetAt, 8);
    const auto directoryLength = reader.Little(kItsfDirectoryLengthAt, 8);
    const auto contentOffset = reader.Little(kItsfContentOffsetAt, 8);
    if (!directoryOffset || !directoryLength || !contentOffset) return std::nullopt;
    if (!reader.Has(*directoryOffset, *directoryLength) || *directoryLength < kItspMinimumSize) return std::nullopt;
    if (!reader.Tag(*directoryOffset, "ITSP")) return std::nullopt;

    const auto headerLength = reader.Little(*directoryOffset + kItspHeaderLengthAt, 4);
    const auto chunkSize = reader.Little(*directoryOffset + kItspChunkSizeAt, 4);
    const auto firstListing = reader.Little(*directoryOffset + kItspFirstListingAt, 4);
    const auto chunkCount = reader.Little(*directoryOffset + kItspChunkCountAt, 4);
    if (!headerLength || !chunkSize || !firstListing || !chunkCount) return std::nullopt;
    if (*chunkSize <= kPmglEntriesAt || *headerLength > *directoryLength) return std::nullopt;
    const uint64_t chunksStart = *directoryOffset + *headerLength;
    if (*chunkCount > (*directoryLength - *headerLength) / *chunkSize) return std::nullopt;

    ChmDirectory directory;
    directory.contentOffset = *contentOffset;
    int64_t chunk = static_cast<int32_t>(static_cast<uint32_t>(*firstListing));
    // The chunks form a chain; a chain longer than the chunk count is damaged.
    for (uint64_t visited = 0; chunk >= 0; ++visited) {
        if (visited >= *chunkCount || static_cast<uint64_t>(chunk) >= *chunkCount) return std::nullopt;
        int64_t next = -1;
        if (!ReadListingChunk(reader, chunksStart + static_cast<uint64_t>(chunk) * *chunkSize, *chunkSize,
                              directory.entries, next)) {
            return std::nullopt;
        }
        chunk = next;
    }
    return directory;
}

std::optional<std::map<uint16_t, std::string>> ReadChmSystemTexts(const std::vector<uint8_t>& file,
                                                                   const ChmDirectory& directory) {
    const ChmEntry* system = directory.Find("/#SYSTEM");
    if (system == nullptr || system->section != 0) return std::nullopt;
    const Reader reader(file);
    if (directory.contentOffset > file.size() || system->offset > file.size() - directory.contentOffset) {
        return std::nullopt;
    }
    const uint64_t start = directory.contentOffset + system->offset;
    if (!reader.Has(start, system->length) || system->length < 4) return std::nullopt;
    const uint64_t end = start + system->length;
    std::map<uint16_t, std::string> texts;
    uint64_t at = start + 4;  // past the version
    while (at < end) {
        const auto code = reader.Little(at, 2);
        const auto length = reader.Little(at + 2, 2);
        if (!code || !length || at + 4 > end || *length > end - at - 4) return std::nullopt;
        at += 4;
        std::string text = reader.Text(at, *length);
        // Text records end in a zero; the binary ones are kept as they are.
        if (!text.empty() && text.back() == '\0') text.pop_back();
        texts[static_cast<uint16_t>(*code)] = text;
        at += *length;
    }
    return texts;
}

}  // namespace korbela::wine
