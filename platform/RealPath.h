#pragma once

#include <filesystem>

namespace platform {

// The real place of `path`: links followed, a missing tail kept as written,
// no trailing "/". Empty when it cannot be worked out.
std::filesystem::path RealPath(const std::filesystem::path &path);

// True when `inner` is `outer` itself or lies below it, judged by whole names.
bool IsOrLiesIn(const std::filesystem::path &inner, const std::filesystem::path &outer);

}  // namespace platform
