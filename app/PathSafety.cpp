#include "app/PathSafety.h"

#include "platform/RealPath.h"

#include <algorithm>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

enum class Entry { Missing, Link, Folder, Other };

Entry EntryAt(const fs::path &path)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) return Entry::Missing;
    if (S_ISLNK(status.st_mode)) return Entry::Link;
    return S_ISDIR(status.st_mode) ? Entry::Folder : Entry::Other;
}

// The names of a path between its slashes, without empty ones and ".".
std::vector<std::string> Names(const std::string &path)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        std::string name = path.substr(start, end - start);
        if (!name.empty() && name != ".") names.push_back(std::move(name));
        start = end + 1;
    }
    return names;
}

}  // namespace

FolderBounds::FolderBounds(const std::string &folder) : root(platform::RealPath(folder)) {}

bool FolderBounds::Holds(const std::string &relative) const
{
    if (root.empty()) return false;
    fs::path place = root;
    // Once a name is missing, nothing below it can be a link.
    bool onDisk = true;
    for (const std::string &name : Names(relative)) {
        if (name == "..") {
            if (place == root) return false;
            place = place.parent_path();
            onDisk = true;
            continue;
        }
        place /= name;
        if (!onDisk || knownFolders.contains(place.native())) continue;
        const Entry entry = EntryAt(place);
        onDisk = entry != Entry::Missing;
        if (entry == Entry::Folder) knownFolders.insert(place.native());
        if (entry == Entry::Link) {
            place = platform::RealPath(place);
            if (place.empty() || !platform::IsOrLiesIn(place, root)) return false;
        }
    }
    return place != root;
}

bool LiesBelow(const std::string &folder, const std::string &relative)
{
    return FolderBounds(folder).Holds(relative);
}
