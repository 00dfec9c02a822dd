#pragma once

#include "platform/MessageBoxes.h"
#include "platform/TreeCopy.h"

#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class QProgressDialog;
class QWidget;

namespace platform {

// The progress of a series of copies. Its dialog, owned by `owner`, appears
// only once the copies have run for a while, and stays out of the way of the
// questions they ask: hidden while one is asked, the time taken to answer not
// counted. Cancelling the dialog aborts the copy under way and those after it.
class CopyProgress {
public:
    // `total`: the items to copy, 0 when not known beforehand.
    explicit CopyProgress(QWidget *owner, int total = 0);
    ~CopyProgress();
    CopyProgress(const CopyProgress &) = delete;
    CopyProgress &operator=(const CopyProgress &) = delete;

    // Notes the next item; false once the user has cancelled.
    bool Advance(const std::string &name);
    // Asks the user a question of the copy.
    BoxAnswer Ask(const QString &text);
    // Where the copies of the series go on looking for free copy names.
    std::unordered_map<std::string, int> &CopyNumbers() { return copyNumbers_; }

private:
    void ShowDialog();
    void Update(const std::string &name);

    QWidget *owner_;
    int total_;
    int done_ = 0;
    bool cancelled_ = false;
    QElapsedTimer running_;
    qint64 answering_ = 0;
    QElapsedTimer updatedAt_;
    std::unique_ptr<QProgressDialog> dialog_;
    std::unordered_map<std::string, int> copyNumbers_;
};

// Copies a file or a folder tree the way TreeCopy does. When `dst` is an
// existing folder the source goes into it under its own name, otherwise `dst`
// becomes the copy. Missing parent folders of the target are created. Files
// are written beside their target and renamed into place, so a failed copy
// leaves an old file whole.

struct CopyPaths {
    std::string source;
    std::string target;
    // The folder whose bounds judge the links met in the source.
    std::string sourceRoot;
};

// An existing target stays; the copy takes the next free name
// ("name - Copy.ext", "name - Copy (2).ext", ...). Without `progress` the
// copy is silent. The source's links that lead out of its root are added
// to `skippedLinks`, relative to the root.
CopyOutcome CopyRenamingOnCollision(CopyProgress *progress, const CopyPaths &paths,
                                    std::vector<std::string> &skippedLinks);

// Folders merge into existing ones; before an existing file (or a link where
// a folder belongs) is replaced the user is asked (Yes, Yes to All, No skips
// it, Cancel aborts). Shows a progress dialog owned by `owner` for long copies.
CopyOutcome CopyAskingBeforeReplace(QWidget *owner, const std::string &src,
                                    const std::string &dst);

// Adds to the folder `dst` what the folder `src` holds and `dst` lacks;
// existing entries stay and entries that cannot be added are left out.
// `eachEntry` runs before each entry.
CopyOutcome CopyAddingMissing(const std::string &src, const std::string &dst,
                              const std::function<void()> &eachEntry);

// Moves a file or a folder tree to the desktop's trash.
bool MoveToTrash(const std::string &path);
// Deletes a file or a folder tree, not to the trash; a link goes, not what it names.
bool DeleteForGood(const std::string &path);

// Opens a file, a folder or a web address with the desktop's default handler.
bool OpenWithDefaultHandler(const std::string &pathOrAddress);

// The user's documents folder, or "" when it does not exist.
std::string DocumentsFolder();

// The application's main top-level window (the active one if any), or nullptr.
QWidget *ApplicationWindow();
void BringApplicationToFront();

}  // namespace platform
