#pragma once

#include "platform/MessageBoxes.h"

#include <QElapsedTimer>
#include <QString>

#include <memory>
#include <string>

class QProgressDialog;
class QWidget;

namespace platform {

enum class CopyOutcome { Done, Failed, Aborted };

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
};

// Copies a file or a folder tree. When `dst` is an existing folder the source
// goes into it under its own name, otherwise `dst` becomes the copy. Missing
// parent folders of the target are created. Files are written beside their
// target and renamed into place, so a failed copy leaves an old file whole.

// An existing target stays; the copy takes the next free name
// ("name - Copy.ext", "name - Copy (2).ext", ...). Without `progress` the
// copy is silent.
CopyOutcome CopyRenamingOnCollision(CopyProgress *progress, const std::string &src,
                                    const std::string &dst);

// Folders merge into existing ones; before an existing file is replaced the
// user is asked (Yes, Yes to All, No skips the file, Cancel aborts).
// Shows a progress dialog owned by `owner` for long copies.
CopyOutcome CopyAskingBeforeReplace(QWidget *owner, const std::string &src,
                                    const std::string &dst);

// Moves a file or a folder tree to the desktop's trash.
bool MoveToTrash(const std::string &path);

// Opens a file, a folder or a web address with the desktop's default handler.
bool OpenWithDefaultHandler(const std::string &pathOrAddress);

// The user's documents folder, or "" when it does not exist.
std::string DocumentsFolder();

// The application's main top-level window (the active one if any), or nullptr.
QWidget *ApplicationWindow();
void BringApplicationToFront();

}  // namespace platform
