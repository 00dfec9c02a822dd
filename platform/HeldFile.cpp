#include "platform/HeldFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

HeldFile::~HeldFile() { Release(); }

bool HeldFile::Hold(const std::string &path)
{
    Release();
    // A path descriptor opens nothing: a pipe or a device there is not touched.
    descriptor_ = ::open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor_ < 0) return false;
    path_ = path;
    return true;
}

void HeldFile::DeleteIfStillThere()
{
    struct stat held {};
    struct stat there {};
    if (descriptor_ >= 0 && ::fstat(descriptor_, &held) == 0 && ::lstat(path_.c_str(), &there) == 0 &&
        held.st_dev == there.st_dev && held.st_ino == there.st_ino)
        ::unlink(path_.c_str());
    Release();
}

void HeldFile::Release()
{
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = -1;
    path_.clear();
}

}  // namespace platform
