#include "app/PathSafety.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

fs::path Resolved(const fs::path &path)
{
    std::error_code error;
    const fs::path resolved = fs::weakly_canonical(fs::absolute(path, error), error);
    return error ? fs::path() : resolved;
}

bool StrictlyWithin(const fs::path &inner, const fs::path &outer)
{
    const auto [outerEnd, innerAt] = std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
    return outerEnd == outer.end() && innerAt != inner.end();
}

}  // namespace

bool LiesBelow(const std::string &folder, const std::string &relative)
{
    const fs::path path(relative);
    if (path.empty() || path.has_root_path()) return false;
    const fs::path normal = path.lexically_normal();
    if (normal.empty() || *normal.begin() == ".." || normal == ".") return false;
    const fs::path base = Resolved(folder);
    return !base.empty() && StrictlyWithin(Resolved(base / path), base);
}
