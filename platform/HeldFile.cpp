#include "platform/HeldFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool HeldFile::Hold(const std::string &path)
{
    Release();
    // A path descriptor opens nothing: a pipe or a device there is not touched.
    descriptor_.Reset(::open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (descriptor_.Get() < 0) return false;
    path_ = path;
    return true;
}

void HeldFile::DeleteIfStillThere()
{
    struct stat held {};
    struct stat there {};
    if (descriptor_.Get() >= 0 && ::fstat(descriptor_.Get(), &held) == 0 && ::lstat(path_.c_str(), &there) == 0 &&
        held.st_dev == there.st_dev && held.st_ino == there.st_ino)
        ::unlink(path_.c_str());
    Release();
}

void HeldFile::Release()
{
    descriptor_.Reset(-1);
    path_.clear();
}

}  // namespace platform
