// Reads the directory of a compiled HTML Help file (the ITSF container of a
// .chm): the names of the files it holds, and the #SYSTEM records that give
// its title and first page. Every offset and length is checked before it is
// read, so a damaged file gives no result rather than a crash.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace korbela::wine {

struct ChmEntry {
    std::string name;      // "/index.html", "/#SYSTEM", ...
    uint64_t section = 0;  // 0 uncompressed, 1 compressed
    uint64_t offset = 0;   // within the content section
    uint64_t length = 0;
};

struct ChmDirectory {
    uint64_t contentOffset = 0;  // where content section 0 starts in the file
    std::vector<ChmEntry> entries;

    const ChmEntry* Find(const std::string& name) const;
};

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path);

// Nullopt unless the bytes are an ITSF file with a readable listing directory.
std::optional<ChmDirectory> ReadChmDirectory(const std::vector<uint8_t>& file);

// The text records of "/#SYSTEM" by their code: 0 contents file, 1 index file,
// 2 default topic, 3 title.
std::optional<std::map<uint16_t, std::string>> ReadChmSystemTexts(const std::vector<uint8_t>& file,
                                                                   const ChmDirectory& directory);

}  // namespace korbela::wine
