#pragma once

#include "platform/MessageBoxes.h"

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace platform {

enum class CopyOutcome { Done, Failed, Aborted };

// `path` without the "/" at its end ("/" itself stays).
std::filesystem::path WithoutTrailingSlash(std::string path);

// What a copy does where its target already holds an entry.
enum class Collision {
    Rename,            // the copy takes the next free " - Copy" name
    AskBeforeReplace,  // the user is asked before a file is replaced
    AddMissing,        // what is there stays; of the rest, what can be added is
};

// The one way the program copies a file or a folder tree.
//
// The target side is opened one name at a time, never through a link: below
// the folder the copy writes into, each folder is made or opened without
// following links, a link standing where the copy writes counts as an existing
// file (replaced when the user agrees, never written through), and no link is
// ever made. On the source side a link is copied as the file or folder it
// names when that lies within the source root, and left out (and listed) when
// it leads out. A folder is not entered again when it is its own ancestor or
// one the copy writes, nor when a link names it that was already followed to
// it once in the copy: links cannot make a copy run without end.
class TreeCopy {
public:
    struct Hooks {
        // Hears of each entry before it is copied; false aborts the copy.
        std::function<bool(const std::string &name)> advance;
        // Asks before an existing file is replaced (AskBeforeReplace).
        std::function<BoxAnswer(const QString &text)> ask;
        // Where the search for a free copy name goes on, by taken target
        // (Rename); without it the search starts at the first copy name.
        std::unordered_map<std::string, int> *copyNumbers = nullptr;
    };

    // `sourceRoot`: the folder that judges the source's links; "" for the source itself.
    TreeCopy(Collision collision, std::string sourceRoot, Hooks hooks);

    // Copies `src`. When `dst` is an existing folder the source goes into it
    // under its own name, otherwise `dst` becomes the copy; missing parent
    // folders of the target are made.
    CopyOutcome Copy(const std::string &src, const std::string &dst);
    // Copies what the folder `src` holds into the existing folder `dst`.
    CopyOutcome CopyContents(const std::string &src, const std::string &dst);

    // The source's links that were left out, relative to the source root.
    const std::vector<std::string> &SkippedLinks() const { return skippedLinks_; }

private:
    using Identity = std::pair<dev_t, ino_t>;
    enum class Kind { Missing, File, Folder, LeadsOut };
    struct Source {
        std::filesystem::path path;
        Kind kind;
        Identity identity;
        bool throughLink;
    };

    Source Judge(const std::filesystem::path &path) const;
    void SetRoot(const std::string &src);
    void MarkWritten(int folder);
    CopyOutcome CopyEntry(const Source &source, int into, const std::string &name);
    CopyOutcome CopyFile(const Source &source, int into, const std::string &name);
    CopyOutcome CopyFolder(const Source &source, int into, const std::string &name);
    CopyOutcome CopyChildren(const Source &folder, int into);
    int OpenOrMakeFolder(int into, const std::string &name, CopyOutcome &outcome);
    BoxAnswer AskAboutReplacing(const std::string &name);
    std::string FreeCopyName(int into, const std::string &folder, const std::filesystem::path &taken, bool isFolder);

    Collision collision_;
    std::string sourceRoot_;
    std::filesystem::path rootPath_;
    std::filesystem::path realRoot_;
    Hooks hooks_;
    bool replaceAll_ = false;
    std::set<Identity> ancestors_;
    std::set<Identity> written_;
    std::set<Identity> linkedFolders_;
    std::vector<std::string> skippedLinks_;
};

}  // namespace platform
