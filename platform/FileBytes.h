#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Size caps for whole-file reads: a file over its cap is refused unread.
constexpr std::size_t kPageFileCap = std::size_t{128} << 20;  // pages, style sheets, option files
constexpr std::size_t kXmlFileCap = std::size_t{32} << 20;    // configuration, preset and catalogue files
constexpr std::size_t kShortFileCap = std::size_t{1} << 20;   // settings.qrl, the version file

// The outcome of a whole-file read or write: 0 or an errno value.
struct FileResult {
    int error = 0;
    explicit operator bool() const { return error == 0; }
    // The system's text for the failure ("Not a regular file" for devices, pipes and folders).
    std::string Text() const;
};

// The whole of a regular file of at most `maxBytes` bytes. Anything else
// (a folder, a device, a pipe, a larger file) is refused without reading it.
FileResult ReadFileBytes(const std::string &path, std::size_t maxBytes, std::string &bytes);

// Makes `bytes` the whole content of `path`: written beside it under another
// name, then renamed into place, so the old file stays whole when writing fails.
// A symbolic link at `path` is replaced, never written through.
FileResult WriteFileBytes(const std::string &path, std::string_view bytes);

// Makes `target` a copy of the regular file `source` (its bytes, and its
// permission bits less the process's mask). An existing target is replaced
// like WriteFileBytes does; a new one is removed again when the copy fails.
FileResult CopyFileBytes(const std::string &source, const std::string &target);
// The same with the target named relative to the open folder `folder`.
FileResult CopyFileBytesAt(const std::string &source, int folder, const std::string &name);
