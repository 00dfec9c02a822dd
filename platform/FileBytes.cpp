#include "platform/FileBytes.h"

#include "platform/Descriptor.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kNotRegular = -1;

// Hands every chunk read to `take`, which returns 0 or an errno value.
template <typename Take>
int ReadChunks(int fd, Take take)
{
    char chunk[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got == 0) return 0;
        if (got < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (const int error = take(std::string_view(chunk, static_cast<std::size_t>(got)))) return error;
    }
}

int ReadAll(int fd, std::size_t maxBytes, std::string &bytes)
{
    return ReadChunks(fd, [&](std::string_view chunk) {
        // The file may have grown since its size was checked.
        if (bytes.size() + chunk.size() > maxBytes) return EFBIG;
        bytes.append(chunk);
        return 0;
    });
}

int WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written >= 0)
            bytes.remove_prefix(static_cast<std::size_t>(written));
        else if (errno != EINTR)
            return errno;
    }
    return 0;
}

// A new file in the folder of `path` (relative to the folder `dir`), created with
// `mode` less the process's mask. Its name is short and of fixed length, so that
// it fits wherever `path` does.
int CreateBeside(int dir, const std::string &path, mode_t mode, std::string &name)
{
    static std::atomic<unsigned> counter{0};
    const std::string folder = path.substr(0, path.rfind('/') + 1);
    for (;;) {
        char unique[24];
        std::snprintf(unique, sizeof unique, ".new-%08x%08x", static_cast<unsigned>(::getpid()), counter++);
        name = folder + unique;
        const int fd = ::openat(dir, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
}

// An existing file keeps its permissions across the replacement.
void KeepMode(const std::string &path, int fd)
{
    struct stat old {};
    if (::lstat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(fd, old.st_mode & 07777);
}

// Non-blocking, so that opening a pipe does not wait for a writer.
int OpenForReading(const std::string &path) { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK); }

// Call right after opening: a failed open still holds its errno.
FileResult CheckRegular(const Descriptor &file, struct stat &status)
{
    if (file.Get() < 0) return {errno};
    if (::fstat(file.Get(), &status) != 0) return {errno};
    if (!S_ISREG(status.st_mode)) return {kNotRegular};
    return {};
}

// Hands the file to `fill` (which returns 0 or an errno value), then closes it.
template <typename Fill>
int FillAndClose(Descriptor &file, Fill fill)
{
    const int error = fill(file.Get());
    const int closeError = file.Close();
    return error != 0 ? error : closeError;
}

// Fills a new file beside `path` (in the folder `dir`), made with `mode`, and
// renames it over `path`; on failure the new file goes again.
template <typename Fill>
FileResult WriteBeside(int dir, const std::string &path, mode_t mode, Fill fill)
{
    std::string temporary;
    Descriptor file(CreateBeside(dir, path, mode, temporary));
    if (file.Get() < 0) return {errno};
    int error = FillAndClose(file, fill);
    if (error == 0 && ::renameat(dir, temporary.c_str(), dir, path.c_str()) != 0) error = errno;
    if (error != 0) ::unlinkat(dir, temporary.c_str(), 0);
    return {error};
}

}  // namespace

std::string FileResult::Text() const
{
    return error == kNotRegular ? "Not a regular file" : std::strerror(error);
}

FileResult ReadFileBytes(const std::string &path, std::size_t maxBytes, std::string &bytes)
{
    bytes.clear();
    Descriptor file(OpenForReading(path));
    struct stat status {};
    if (const FileResult opened = CheckRegular(file, status); !opened) return opened;
    if (static_cast<std::size_t>(status.st_size) > maxBytes) return {EFBIG};
    bytes.reserve(static_cast<std::size_t>(status.st_size));
    const int error = ReadAll(file.Get(), maxBytes, bytes);
    if (error != 0) bytes.clear();
    return {error};
}

FileResult WriteFileBytes(const std::string &path, std::string_view bytes)
{
    return WriteBeside(AT_FDCWD, path, 0666, [&](int fd) {
        KeepMode(path, fd);
        return WriteAll(fd, bytes);
    });
}

FileResult CopyFileBytes(const std::string &source, const std::string &target)
{
    return CopyFileBytesAt(source, AT_FDCWD, target);
}

FileResult CopyFileBytesAt(const std::string &source, int folder, const std::string &name)
{
    Descriptor input(OpenForReading(source));
    struct stat status {};
    if (const FileResult opened = CheckRegular(input, status); !opened) return opened;
    const auto copy = [&input](int fd) {
        return ReadChunks(input.Get(), [fd](std::string_view chunk) { return WriteAll(fd, chunk); });
    };
    const mode_t mode = status.st_mode & 07777;
    // A new target is written in place, an existing one replaced by a rename.
    Descriptor fresh(::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode));
    if (fresh.Get() < 0) return errno == EEXIST ? WriteBeside(folder, name, mode, copy) : FileResult{errno};
    const int error = FillAndClose(fresh, copy);
    if (error != 0) ::unlinkat(folder, name.c_str(), 0);
    return {error};
}
