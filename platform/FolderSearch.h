#pragma once

#include <string>
#include <vector>

namespace platform {

// Attribute bits of a folder search.
enum FileAttr : int {
    faReadOnly = 1,
    faHidden = 2,
    faSysFile = 4,
    faVolumeId = 8,
    faDirectory = 16,
    faArchive = 32,
    faAnyFile = 63,
};

// A symbolic link carries this bit on top of the FileAttr bits.
constexpr int kAttrSymlink = 1024;

struct FoundEntry {
    std::string name;
    int attributes;  // FileAttr bits
};

// The entries "." and ".." that every folder search finds.
bool IsDotEntry(const std::string &name);

// True when `name` matches `mask` ("*" and "?" wildcards, ASCII letters
// compared without case). "*.*" matches every name.
bool MatchesMask(const std::string &name, const std::string &mask);

// The name under which `folder` holds `name`: `name` itself when it exists,
// else the entry that equals it without regard to ASCII case, else `name`.
// Files made on Windows ("Warm.XML") open by the names the searches fold.
std::string NameOnDisk(const std::string &folder, const std::string &name);

// The entries of `folder` ("" is the current folder) whose names match `mask`,
// "." and ".." included, sorted by name without regard to ASCII case.
// Plain files always come back; folders only when `attrFilter` holds faDirectory,
// hidden entries (names beginning with ".") only when it holds faHidden.
// A folder that does not exist or cannot be read gives no entries.
std::vector<FoundEntry> FindEntries(const std::string &folder, const std::string &mask,
                                    int attrFilter);

}  // namespace platform
