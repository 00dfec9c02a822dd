#include "app/TForm1.h"

#include "app/PathSafety.h"
#include "builder/ControlWidgets.h"
#include "platform/MessageBoxes.h"
#include "platform/RealPath.h"
#include "ui_TForm1.h"

#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

const QString kCannotDelete = QStringLiteral("Error: Cannot delete image file.");

// Deletes one file (never a folder) lying below the template folder.
bool DeleteImageFile(const std::string &templateDir, const std::string &relative)
{
    if (!LiesBelow(templateDir, relative)) return false;
    const std::string path = templateDir + "/" + relative;
    std::error_code error;
    if (fs::is_directory(fs::symlink_status(path, error))) return false;
    return fs::remove(path, error) && !error;
}

// True when `inner` is `outer` or lies in it, links followed.
bool Within(const std::string &inner, const std::string &outer)
{
    const fs::path innerReal = platform::RealPath(inner), outerReal = platform::RealPath(outer);
    return innerReal.empty() || outerReal.empty() || platform::IsOrLiesIn(innerReal, outerReal);
}

// The image folder and its backup must both lie below the template folder,
// and the backup must exist.
bool RestorableFolders(const std::string &templateDir, const std::string &imageRoot, const std::string &backup)
{
    std::error_code error;
    return LiesBelow(templateDir, imageRoot) && LiesBelow(templateDir, backup) &&
           fs::is_directory(templateDir + "/" + backup, error);
}

// Keeping copies the backup into the image folder, which must not lie in the
// backup; discarding also recycles the image folder, which must not hold it.
bool FoldersApartFor(bool keepModified, const std::string &images, const std::string &backup)
{
    return !Within(images, backup) && (keepModified || !Within(backup, images));
}

void RestoreImages(const std::string &images, const std::string &backup, bool keepModified)
{
    if (keepModified) {
        fs::create_directories(images);
        CopyFolderTree(backup + "/", images + "/");
        return;
    }
    // A folder left in place would receive the backup as a sub-folder.
    if (!DeleteToRecycleBin(images) && fs::exists(images))
        throw std::runtime_error("the image folder cannot be recycled");
    CopyFolderWithShell(backup, images);
}

}  // namespace

void TForm1::Button8Click()
{
    const ImageRow *row = lvImages.Selected();
    if (!row || SelectedRow(ui->ListBox7) < 0) return;
    const std::string name = SelectedText(ui->ListBox7);
    const QString question = "Do you really want to delete the image \"" + platform::FileNameToText(name) + "\"?";
    if (platform::AskConfirmation(question) != platform::BoxAnswer::Yes) return;
    try {
        if (!DeleteImageFile(TemplateDir, FilePath(row->folder) + name)) {
            platform::ShowMessage(kCannotDelete);
            return;
        }
        Button14Click();
    } catch (const std::exception &) {
        platform::ShowMessage(kCannotDelete);
    }
}

void TForm1::Button8MouseDown(Qt::MouseButton button)
{
    if (button != Qt::RightButton) return;
    const std::string imageRoot = FilePath(names.ImageRoot);
    const std::string backup = FilePath(names.ImageBackup);
    if (!RestorableFolders(TemplateDir, imageRoot, backup)) {
        platform::ShowMessage(QStringLiteral("Images Backup Doesn't Exist! Operation aborted."));
        return;
    }
    using platform::BoxAnswer;
    if (platform::AskConfirmation(QStringLiteral("Do you really want to restore all the default images (this will "
                                                 "restore the original images for this template)?")) != BoxAnswer::Yes)
        return;
    const BoxAnswer keep = platform::AskConfirmation(QStringLiteral(
        "Do you want to keep your custom (modified) images? (If you click \"No\" all custom (modified) images will be "
        "deleted!)"));
    if (keep != BoxAnswer::Yes && keep != BoxAnswer::No) return;
    const std::string images = TemplateDir + "/" + imageRoot, saved = TemplateDir + "/" + backup;
    if (!FoldersApartFor(keep == BoxAnswer::Yes, images, saved)) {
        platform::ShowMessage(
            QStringLiteral("The image folder and its backup lie inside one another. Operation aborted."));
        return;
    }
    bool restored = true;
    try {
        RestoreImages(images, saved, keep == BoxAnswer::Yes);
    } catch (const std::exception &) {
        restored = false;
    }
    Rebuildtemplate();
    platform::ShowMessage(restored ? QStringLiteral("Operation Complete.")
                                   : QStringLiteral("Unknown error: cannot restore images from backup. You may need "
                                                    "to reinstall Quorlin"));
}
