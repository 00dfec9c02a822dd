#include "platform/TreeCopy.h"

#include "platform/Descriptor.h"
#include "platform/FileBytes.h"
#include "platform/RealPath.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace platform {
namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

bool IsFolder(const fs::path &path)
{
    std::error_code error;
    return fs::is_directory(path, error);
}

// True when `inner` is `outer` itself or lies somewhere below it.
bool LiesWithin(const fs::path &inner, const fs::path &outer)
{
    const fs::path innerPath = RealPath(inner);
    const fs::path outerPath = RealPath(outer);
    return !innerPath.empty() && !outerPath.empty() && IsOrLiesIn(innerPath, outerPath);
}

enum class Place { Free, Folder, Link, File };

// What stands at `name` in the open folder `folder`, links not followed.
Place PlaceAt(int folder, const std::string &name)
{
    struct stat status {};
    if (::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) return Place::Free;
    if (S_ISLNK(status.st_mode)) return Place::Link;
    return S_ISDIR(status.st_mode) ? Place::Folder : Place::File;
}

std::string CopyName(const fs::path &taken, bool isFolder, int number)
{
    const std::string suffix = number == 1 ? " - Copy" : " - Copy (" + std::to_string(number) + ")";
    if (isFolder) return taken.filename().string() + suffix;
    return taken.stem().string() + suffix + taken.extension().string();
}

// The names in a folder, sorted, so that a copy runs in a fixed order.
bool SortedNames(const fs::path &folder, std::vector<std::string> &names)
{
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return !error;
}

}  // namespace

fs::path WithoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return fs::path(path);
}

TreeCopy::TreeCopy(Collision collision, std::string sourceRoot, Hooks hooks)
    : collision_(collision), sourceRoot_(std::move(sourceRoot)), hooks_(std::move(hooks))
{
}

void TreeCopy::SetRoot(const std::string &src)
{
    rootPath_ = fs::path(sourceRoot_.empty() ? src : sourceRoot_).lexically_normal();
    realRoot_ = RealPath(rootPath_);
}

TreeCopy::Source TreeCopy::Judge(const fs::path &path) const
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) return {path, Kind::Missing, {}, false};
    const bool throughLink = S_ISLNK(status.st_mode);
    if (throughLink) {
        const fs::path real = RealPath(path);
        if (realRoot_.empty() || real.empty() || !IsOrLiesIn(real, realRoot_)) return {path, Kind::LeadsOut, {}, true};
        if (::stat(path.c_str(), &status) != 0) return {path, Kind::Missing, {}, true};
    }
    return {path, S_ISDIR(status.st_mode) ? Kind::Folder : Kind::File, {status.st_dev, status.st_ino}, throughLink};
}

CopyOutcome TreeCopy::Copy(const std::string &src, const std::string &dst)
{
    SetRoot(src);
    const Source source = Judge(WithoutTrailingSlash(src));
    if (source.kind == Kind::Missing || source.kind == Kind::LeadsOut) return CopyOutcome::Failed;
    fs::path folder = WithoutTrailingSlash(dst);
    std::string name = source.path.filename().string();
    // The target's own place is the caller's: it is followed like any path given.
    if (!IsFolder(folder)) {
        name = folder.filename().string();
        folder = folder.parent_path();
        std::error_code error;
        fs::create_directories(folder, error);
    }
    Descriptor into(::open(folder.c_str(), kFolderFlags));
    if (into.Get() < 0) return CopyOutcome::Failed;
    if (collision_ == Collision::Rename && PlaceAt(into.Get(), name) != Place::Free)
        name = FreeCopyName(into.Get(), folder.string(), name, source.kind == Kind::Folder);
    if (source.kind == Kind::Folder && LiesWithin(folder / name, source.path)) return CopyOutcome::Failed;
    MarkWritten(into.Get());
    if (hooks_.advance && !hooks_.advance(source.path.filename().string())) return CopyOutcome::Aborted;
    return CopyEntry(source, into.Get(), name);
}

CopyOutcome TreeCopy::CopyContents(const std::string &src, const std::string &dst)
{
    SetRoot(src);
    const Source source = Judge(WithoutTrailingSlash(src));
    Descriptor into(::open(WithoutTrailingSlash(dst).c_str(), kFolderFlags));
    if (source.kind != Kind::Folder || into.Get() < 0) return CopyOutcome::Failed;
    MarkWritten(into.Get());
    return CopyChildren(source, into.Get());
}

// A folder the copy writes into is never copied itself.
void TreeCopy::MarkWritten(int folder)
{
    struct stat own {};
    if (::fstat(folder, &own) == 0) written_.insert({own.st_dev, own.st_ino});
}

CopyOutcome TreeCopy::CopyEntry(const Source &source, int into, const std::string &name)
{
    switch (source.kind) {
    case Kind::File:
        return CopyFile(source, into, name);
    case Kind::Folder:
        return CopyFolder(source, into, name);
    case Kind::LeadsOut:
        skippedLinks_.push_back(source.path.lexically_normal().lexically_relative(rootPath_).string());
        return CopyOutcome::Done;
    case Kind::Missing:
        break;
    }
    return CopyOutcome::Done;
}

CopyOutcome TreeCopy::CopyFile(const Source &source, int into, const std::string &name)
{
    const auto place = PlaceAt(into, name);
    if (place != Place::Free) {
        if (collision_ == Collision::AddMissing) return CopyOutcome::Done;
        // The targets of a renaming copy were free when it began.
        if (collision_ == Collision::Rename || place == Place::Folder) return CopyOutcome::Failed;
        const BoxAnswer answer = AskAboutReplacing(name);
        if (answer == BoxAnswer::Cancel) return CopyOutcome::Aborted;
        if (answer == BoxAnswer::No) return CopyOutcome::Done;
    }
    return CopyFileBytesAt(source.path.string(), into, name) ? CopyOutcome::Done : CopyOutcome::Failed;
}

CopyOutcome TreeCopy::CopyFolder(const Source &source, int into, const std::string &name)
{
    // A folder met again through links would be copied without end, or in numbers that double with each level.
    if (ancestors_.contains(source.identity) || written_.contains(source.identity)) return CopyOutcome::Done;
    if (source.throughLink && !linkedFolders_.insert(source.identity).second) return CopyOutcome::Done;

    CopyOutcome outcome = CopyOutcome::Done;
    Descriptor folder(OpenOrMakeFolder(into, name, outcome));
    if (folder.Get() < 0) return outcome;
    MarkWritten(folder.Get());
    return CopyChildren(source, folder.Get());
}

CopyOutcome TreeCopy::CopyChildren(const Source &folder, int into)
{
    std::vector<std::string> names;
    if (!SortedNames(folder.path, names)) return CopyOutcome::Failed;
    ancestors_.insert(folder.identity);
    CopyOutcome outcome = CopyOutcome::Done;
    for (const std::string &name : names) {
        if (hooks_.advance && !hooks_.advance(name)) outcome = CopyOutcome::Aborted;
        if (outcome == CopyOutcome::Done) outcome = CopyEntry(Judge(folder.path / name), into, name);
        if (outcome == CopyOutcome::Failed && collision_ == Collision::AddMissing) outcome = CopyOutcome::Done;
        if (outcome != CopyOutcome::Done) break;
    }
    ancestors_.erase(folder.identity);
    return outcome;
}

// The folder `name` in `into`, made when missing, or -1 with `outcome` saying
// whether the copy goes on without it.
int TreeCopy::OpenOrMakeFolder(int into, const std::string &name, CopyOutcome &outcome)
{
    ::mkdirat(into, name.c_str(), 0777);
    const auto place = PlaceAt(into, name);
    outcome = CopyOutcome::Failed;
    if (place == Place::Link && collision_ == Collision::AddMissing) outcome = CopyOutcome::Done;
    if (place == Place::Link && collision_ == Collision::AskBeforeReplace) {
        const BoxAnswer answer = AskAboutReplacing(name);
        if (answer == BoxAnswer::Cancel) outcome = CopyOutcome::Aborted;
        if (answer == BoxAnswer::No) outcome = CopyOutcome::Done;
        if (answer != BoxAnswer::Yes && answer != BoxAnswer::YesToAll) return -1;
        ::unlinkat(into, name.c_str(), 0);
        ::mkdirat(into, name.c_str(), 0777);
    }
    return ::openat(into, name.c_str(), kFolderFlags | O_NOFOLLOW);
}

BoxAnswer TreeCopy::AskAboutReplacing(const std::string &name)
{
    if (replaceAll_) return BoxAnswer::Yes;
    const QString text = QStringLiteral("This folder already contains a file named \"%1\".\n\n"
                                        "Would you like to replace the existing file?")
                             .arg(QString::fromStdString(name));
    const BoxAnswer answer = hooks_.ask ? hooks_.ask(text) : AskReplace(text);
    replaceAll_ = answer == BoxAnswer::YesToAll;
    return answer;
}

// The first free name among the copy names of a taken target. Copies onto
// one target within a series go on where the last one stopped.
std::string TreeCopy::FreeCopyName(int into, const std::string &folder, const fs::path &taken, bool isFolder)
{
    int start = 1;
    int *next = &start;
    if (hooks_.copyNumbers) next = &(*hooks_.copyNumbers)[folder + "/" + taken.string()];
    for (*next = std::max(*next, 1);; ++*next) {
        std::string candidate = CopyName(taken, isFolder, *next);
        if (PlaceAt(into, candidate) == Place::Free) return candidate;
    }
}

}  // namespace platform
