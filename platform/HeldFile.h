#pragma once

#include "platform/Descriptor.h"

#include <string>

namespace platform {

// Keeps hold of the file at a path, so that the path can later be told to
// name that same file still, not one put there since. While held, the file's
// identity (device and inode) cannot pass to another file.
class HeldFile {
public:
    HeldFile() = default;
    HeldFile(const HeldFile &) = delete;
    HeldFile &operator=(const HeldFile &) = delete;

    // Lets go of the file held and holds the one now at `path` (a link itself,
    // not followed); false when there is none.
    bool Hold(const std::string &path);
    // Deletes the file at the held path when it is still the file held, then
    // lets go of it. A file that has replaced it there stays.
    void DeleteIfStillThere();

private:
    void Release();

    std::string path_;
    Descriptor descriptor_{-1};
};

}  // namespace platform
