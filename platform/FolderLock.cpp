#include "platform/FolderLock.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>

namespace platform {

FolderLock::FolderLock(const std::string &folder)
    : folder_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    if (folder_.Get() < 0) return;
    while (::flock(folder_.Get(), LOCK_EX) != 0 && errno == EINTR) {
    }
}

}  // namespace platform
