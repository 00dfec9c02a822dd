#pragma once

#include <string>

class QWidget;

namespace platform {

enum class CopyOutcome { Done, Failed, Aborted };

// Copies a file or a folder tree. When `dst` is an existing folder the source
// goes into it under its own name, otherwise `dst` becomes the copy. Missing
// parent folders of the target are created.

// An existing target stays; the copy takes the next free name
// ("name - Copy.ext", "name - Copy (2).ext", ...). With `showProgress` a
// progress dialog owned by `owner` appears for long copies; cancelling it aborts.
CopyOutcome CopyRenamingOnCollision(QWidget *owner, const std::string &src,
                                    const std::string &dst, bool showProgress);

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
