#pragma once

#include <filesystem>
#include <string>
#include <unordered_set>

// A folder whose real place (links followed) is worked out once, for judging
// many paths below it.
class FolderBounds {
public:
    explicit FolderBounds(const std::string &folder);

    // True when `folder` + "/" + `relative`, the path the callers build, names
    // a place strictly below the folder, also once symbolic links are followed.
    // Only the parts of the path that are links are resolved.
    bool Holds(const std::string &relative) const;

private:
    std::filesystem::path root;
    // Real folders (not links) below the root met so far: not looked at again.
    mutable std::unordered_set<std::string> knownFolders;
};

// The same judgement for one path: `folder` + "/" + `relative` lies strictly
// below `folder`, links followed.
bool LiesBelow(const std::string &folder, const std::string &relative);
