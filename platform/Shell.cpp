#include "platform/Shell.h"

#include "platform/MessageBoxes.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QUrl>
#include <QWidget>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

namespace fs = std::filesystem;

namespace platform {
namespace {

enum class Collision { Rename, AskBeforeReplace };

enum class ItemKind { Folder, File, Link };

struct CopyItem {
    fs::path source;
    fs::path target;
    ItemKind kind;
};

fs::path WithoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return fs::path(path);
}

bool Exists(const fs::path &path)
{
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

fs::path CopyName(const fs::path &target, bool isFolder, int number)
{
    const std::string suffix =
        number == 1 ? " - Copy" : " - Copy (" + std::to_string(number) + ")";
    if (isFolder) return target.parent_path() / (target.filename().string() + suffix);
    return target.parent_path() /
           (target.stem().string() + suffix + target.extension().string());
}

fs::path FreeTarget(const fs::path &target, bool isFolder)
{
    if (!Exists(target)) return target;
    for (int number = 1;; ++number) {
        fs::path candidate = CopyName(target, isFolder, number);
        if (!Exists(candidate)) return candidate;
    }
}

// True when `inner` is `outer` itself or lies somewhere below it.
bool LiesWithin(const fs::path &inner, const fs::path &outer)
{
    std::error_code error;
    const fs::path innerPath = fs::weakly_canonical(fs::absolute(inner, error), error);
    const fs::path outerPath = fs::weakly_canonical(fs::absolute(outer, error), error);
    if (error) return false;
    return std::mismatch(outerPath.begin(), outerPath.end(), innerPath.begin(), innerPath.end())
               .first == outerPath.end();
}

ItemKind KindOf(const fs::file_status &linkStatus)
{
    if (fs::is_symlink(linkStatus)) return ItemKind::Link;
    return fs::is_directory(linkStatus) ? ItemKind::Folder : ItemKind::File;
}

// Every folder and file of the source, sorted by path, so parents come before
// their contents. Symbolic links below the source are copied as links, never followed.
bool CollectItems(const fs::path &source, const fs::path &target, bool sourceIsFolder,
                  std::vector<CopyItem> &items)
{
    items.push_back({source, target, sourceIsFolder ? ItemKind::Folder : ItemKind::File});
    if (!sourceIsFolder) return true;
    std::error_code error;
    for (fs::recursive_directory_iterator it(source, error), end; !error && it != end;
         it.increment(error)) {
        const fs::path &path = it->path();
        items.push_back({path, target / path.lexically_relative(source),
                         KindOf(it->symlink_status(error))});
    }
    std::sort(items.begin() + 1, items.end(),
              [](const CopyItem &a, const CopyItem &b) { return a.source < b.source; });
    return !error;
}

class CopyProgress {
public:
    CopyProgress(QWidget *owner, int total)
        : dialog_(std::make_unique<QProgressDialog>(QString(), QStringLiteral("Cancel"), 0,
                                                    total, owner))
    {
        dialog_->setWindowTitle(QStringLiteral("Copying..."));
        dialog_->setWindowModality(Qt::WindowModal);
    }

    // Returns false once the user has cancelled.
    bool Advance(int done, const fs::path &current)
    {
        dialog_->setLabelText(QString::fromStdString(current.filename().string()));
        dialog_->setValue(done);
        return !dialog_->wasCanceled();
    }

private:
    std::unique_ptr<QProgressDialog> dialog_;
};

class TreeCopy {
public:
    TreeCopy(QWidget *progressOwner, bool showProgress, Collision collision)
        : progressOwner_(progressOwner), showProgress_(showProgress), collision_(collision)
    {
    }

    CopyOutcome Run(const std::string &src, const std::string &dst)
    {
        const fs::path source = WithoutTrailingSlash(src);
        std::error_code error;
        const fs::file_status sourceStatus = fs::status(source, error);
        if (!fs::exists(sourceStatus)) return CopyOutcome::Failed;
        const bool sourceIsFolder = fs::is_directory(sourceStatus);

        fs::path target = WithoutTrailingSlash(dst);
        if (fs::is_directory(target, error)) target /= source.filename();
        if (collision_ == Collision::Rename) target = FreeTarget(target, sourceIsFolder);
        if (LiesWithin(target, source)) return CopyOutcome::Failed;
        fs::create_directories(target.parent_path(), error);

        std::vector<CopyItem> items;
        if (!CollectItems(source, target, sourceIsFolder, items)) return CopyOutcome::Failed;
        return CopyAll(items);
    }

private:
    CopyOutcome CopyAll(const std::vector<CopyItem> &items)
    {
        std::unique_ptr<CopyProgress> progress;
        if (showProgress_)
            progress =
                std::make_unique<CopyProgress>(progressOwner_, static_cast<int>(items.size()));
        for (size_t i = 0; i < items.size(); ++i) {
            if (progress && !progress->Advance(static_cast<int>(i), items[i].source))
                return CopyOutcome::Aborted;
            const CopyOutcome outcome = CopyOne(items[i]);
            if (outcome != CopyOutcome::Done) return outcome;
        }
        return CopyOutcome::Done;
    }

    CopyOutcome CopyOne(const CopyItem &item)
    {
        std::error_code error;
        if (item.kind == ItemKind::Folder) {
            fs::create_directories(item.target, error);
            return fs::is_directory(item.target, error) ? CopyOutcome::Done : CopyOutcome::Failed;
        }
        auto options = fs::copy_options::none;
        if (Exists(item.target)) {
            if (collision_ != Collision::AskBeforeReplace || fs::is_directory(item.target, error))
                return CopyOutcome::Failed;
            const BoxAnswer answer = replaceAll_ ? BoxAnswer::Yes : AskAboutReplacing(item.target);
            if (answer == BoxAnswer::Cancel) return CopyOutcome::Aborted;
            if (answer == BoxAnswer::No) return CopyOutcome::Done;
            replaceAll_ = replaceAll_ || answer == BoxAnswer::YesToAll;
            options |= fs::copy_options::overwrite_existing;
        }
        if (item.kind == ItemKind::Link)
            fs::copy_symlink(item.source, item.target, error);
        else
            fs::copy_file(item.source, item.target, options, error);
        return error ? CopyOutcome::Failed : CopyOutcome::Done;
    }

    static BoxAnswer AskAboutReplacing(const fs::path &target)
    {
        return AskReplace(QStringLiteral("This folder already contains a file named \"%1\".\n\n"
                                         "Would you like to replace the existing file?")
                              .arg(QString::fromStdString(target.filename().string())));
    }

    QWidget *progressOwner_;
    bool showProgress_;
    Collision collision_;
    bool replaceAll_ = false;
};

}  // namespace

CopyOutcome CopyRenamingOnCollision(QWidget *owner, const std::string &src,
                                    const std::string &dst, bool showProgress)
{
    return TreeCopy(owner, showProgress, Collision::Rename).Run(src, dst);
}

CopyOutcome CopyAskingBeforeReplace(QWidget *owner, const std::string &src,
                                    const std::string &dst)
{
    return TreeCopy(owner, true, Collision::AskBeforeReplace).Run(src, dst);
}

bool MoveToTrash(const std::string &path)
{
    if (path.empty()) return false;
    // Without the user's data folder Qt falls back to a trash in the current folder.
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty() || !QDir().mkpath(dataHome)) return false;
    return QFile::moveToTrash(QString::fromStdString(WithoutTrailingSlash(path).string()));
}

bool OpenWithDefaultHandler(const std::string &pathOrAddress)
{
    if (pathOrAddress.empty()) return false;
    const QString text = QString::fromStdString(pathOrAddress);
    const QUrl url = text.contains(QStringLiteral("://")) ? QUrl(text) : QUrl::fromLocalFile(text);
    return QDesktopServices::openUrl(url);
}

std::string DocumentsFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) return {};
    return folder.toStdString();
}

QWidget *ApplicationWindow()
{
    if (QWidget *active = QApplication::activeWindow()) return active;
    const auto windows = QApplication::topLevelWidgets();
    const auto found = std::find_if(windows.begin(), windows.end(), [](const QWidget *window) {
        return window->isVisible() && window->windowType() == Qt::Window;
    });
    return found == windows.end() ? nullptr : *found;
}

void BringApplicationToFront()
{
    if (QWidget *window = ApplicationWindow()) {
        window->raise();
        window->activateWindow();
    }
}

}  // namespace platform
