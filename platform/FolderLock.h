#pragma once

#include "platform/Descriptor.h"

#include <string>

namespace platform {

// An exclusive lock on a folder, held while the object lives, that every
// program taking it the same way waits for: what one program does to the
// folder's files under the lock does not interleave with what another does
// under it. A folder that cannot be locked is worked on without the lock.
class FolderLock {
public:
    explicit FolderLock(const std::string &folder);
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

private:
    // Closing the folder lets go of the lock.
    Descriptor folder_;
};

}  // namespace platform
