#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Reports the bytes received so far and the expected total (0 while unknown).
using DownloadProgress = std::function<void(std::int64_t received, std::int64_t total)>;

// How long a download may take in all before it is given up.
inline constexpr long kDownloadLimitSeconds = 20;

// Downloads `address` (http, https or file) into the file `path`, blocking the
// calling thread until it has ended; progress arrives on that thread. Throws
// std::runtime_error when the download fails or exceeds `limitSeconds`; no
// partial file is left then.
void DownloadToFile(const std::string &address, const std::string &path,
                    const DownloadProgress &progress, long limitSeconds = kDownloadLimitSeconds);
