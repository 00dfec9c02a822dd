#include "platform/RealPath.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace platform {

fs::path RealPath(const fs::path &path)
{
    std::error_code error;
    const fs::path real = fs::weakly_canonical(fs::absolute(path, error), error);
    if (error) return {};
    return real.has_filename() ? real : real.parent_path();
}

bool IsOrLiesIn(const fs::path &inner, const fs::path &outer)
{
    return std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end()).first == outer.end();
}

}  // namespace platform
