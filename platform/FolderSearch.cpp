#include "platform/FolderSearch.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace platform {
namespace {

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string FoldedAscii(std::string text)
{
    for (char &c : text) c = FoldAscii(c);
    return text;
}

// Names that differ in case only keep a fixed order: by their bytes.
void SortIgnoringAsciiCase(std::vector<std::string> &names)
{
    std::vector<std::pair<std::string, std::string>> keyed;
    keyed.reserve(names.size());
    for (std::string &name : names) keyed.emplace_back(FoldedAscii(name), std::move(name));
    std::sort(keyed.begin(), keyed.end());
    for (size_t i = 0; i < names.size(); ++i) names[i] = std::move(keyed[i].second);
}

int AttributesOf(const fs::path &path, const std::string &name)
{
    std::error_code error;
    const fs::file_status linkStatus = fs::symlink_status(path, error);
    const fs::file_status status = fs::status(path, error);
    int attributes = 0;
    if (fs::is_directory(status)) attributes |= faDirectory;
    if (fs::is_symlink(linkStatus)) attributes |= kAttrSymlink;
    if (!IsDotEntry(name) && name.starts_with('.')) attributes |= faHidden;
    if (fs::exists(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none)
        attributes |= faReadOnly;
    return attributes;
}

bool PassesFilter(int attributes, int attrFilter)
{
    for (const int restricted : {faDirectory, faHidden})
        if ((attributes & restricted) && !(attrFilter & restricted)) return false;
    return true;
}

std::vector<std::string> NamesIn(const fs::path &folder)
{
    std::error_code error;
    if (!fs::is_directory(folder, error)) return {};
    std::vector<std::string> names{".", ".."};
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        names.push_back(it->path().filename().string());
    if (error) return {};
    return names;
}

}  // namespace

bool IsDotEntry(const std::string &name) { return name == "." || name == ".."; }

bool MatchesMask(const std::string &name, const std::string &mask)
{
    if (mask == "*.*") return true;
    // Greedy match that backs up to the last "*" on a mismatch.
    size_t n = 0, m = 0, starMask = std::string::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || FoldAscii(mask[m]) == FoldAscii(name[n]))) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (starMask != std::string::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

std::string NameOnDisk(const std::string &folder, const std::string &name)
{
    std::error_code error;
    const fs::path folderPath = folder.empty() ? fs::path(".") : fs::path(folder);
    if (name.empty() || fs::exists(fs::symlink_status(folderPath / name, error))) return name;
    const std::string folded = FoldedAscii(name);
    for (std::string &found : NamesIn(folderPath))
        if (FoldedAscii(found) == folded) return found;
    return name;
}

std::vector<FoundEntry> FindEntries(const std::string &folder, const std::string &mask,
                                    int attrFilter)
{
    const fs::path folderPath = folder.empty() ? fs::path(".") : fs::path(folder);
    std::vector<std::string> names = NamesIn(folderPath);
    SortIgnoringAsciiCase(names);
    std::vector<FoundEntry> entries;
    for (const std::string &name : names) {
        if (!MatchesMask(name, mask)) continue;
        const int attributes = AttributesOf(folderPath / name, name);
        if (PassesFilter(attributes, attrFilter)) entries.push_back({name, attributes});
    }
    return entries;
}

}  // namespace platform
