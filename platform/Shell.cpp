#include "platform/Shell.h"

#include "platform/FileBytes.h"
#include "platform/MessageBoxes.h"
#include "platform/RealPath.h"

#include <QApplication>
#include <QCoreApplication>
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

// A copy that runs longer shows its progress.
constexpr qint64 kProgressDelayMs = 2000;
// A shown progress dialog is brought up to date this often.
constexpr qint64 kProgressStepMs = 50;

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

// The first free name among the copy names of a taken target.
fs::path FreeCopyName(const fs::path &target, bool isFolder)
{
    for (int number = 1;; ++number) {
        fs::path candidate = CopyName(target, isFolder, number);
        if (!Exists(candidate)) return candidate;
    }
}

// True when `inner` is `outer` itself or lies somewhere below it.
bool LiesWithin(const fs::path &inner, const fs::path &outer)
{
    const fs::path innerPath = RealPath(inner);
    const fs::path outerPath = RealPath(outer);
    return !innerPath.empty() && !outerPath.empty() && IsOrLiesIn(innerPath, outerPath);
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

// The items of the copy, none when it cannot be made.
std::vector<CopyItem> PlanCopy(const std::string &src, const std::string &dst, Collision collision)
{
    const fs::path source = WithoutTrailingSlash(src);
    std::error_code error;
    const fs::file_status sourceStatus = fs::status(source, error);
    if (!fs::exists(sourceStatus)) return {};
    const bool sourceIsFolder = fs::is_directory(sourceStatus);

    fs::path target = WithoutTrailingSlash(dst);
    const fs::file_status own = fs::symlink_status(target, error);
    bool taken = fs::exists(own);
    if (taken && fs::is_directory(fs::is_symlink(own) ? fs::status(target, error) : own)) {
        target /= source.filename();
        taken = Exists(target);
    }
    if (collision == Collision::Rename && taken) target = FreeCopyName(target, sourceIsFolder);
    if (sourceIsFolder && LiesWithin(target, source)) return {};
    fs::create_directories(target.parent_path(), error);

    std::vector<CopyItem> items;
    if (!CollectItems(source, target, sourceIsFolder, items)) return {};
    return items;
}

class TreeCopy {
public:
    TreeCopy(CopyProgress *progress, Collision collision)
        : progress_(progress), collision_(collision)
    {
    }

    CopyOutcome CopyAll(const std::vector<CopyItem> &items)
    {
        if (items.empty()) return CopyOutcome::Failed;
        for (const CopyItem &item : items) {
            if (progress_ && !progress_->Advance(item.source.filename().string()))
                return CopyOutcome::Aborted;
            const CopyOutcome outcome = CopyOne(item);
            if (outcome != CopyOutcome::Done) return outcome;
        }
        return CopyOutcome::Done;
    }

private:
    CopyOutcome CopyOne(const CopyItem &item)
    {
        std::error_code error;
        if (item.kind == ItemKind::Folder) {
            fs::create_directories(item.target, error);
            return fs::is_directory(item.target, error) ? CopyOutcome::Done : CopyOutcome::Failed;
        }
        // The targets of a renaming copy were free when it was planned.
        if (collision_ == Collision::AskBeforeReplace && Exists(item.target)) {
            if (fs::is_directory(item.target, error)) return CopyOutcome::Failed;
            const BoxAnswer answer = replaceAll_ ? BoxAnswer::Yes : AskAboutReplacing(item.target);
            if (answer == BoxAnswer::Cancel) return CopyOutcome::Aborted;
            if (answer == BoxAnswer::No) return CopyOutcome::Done;
            replaceAll_ = replaceAll_ || answer == BoxAnswer::YesToAll;
        }
        if (item.kind == ItemKind::Link) {
            fs::copy_symlink(item.source, item.target, error);
            return error ? CopyOutcome::Failed : CopyOutcome::Done;
        }
        return CopyFileBytes(item.source, item.target) ? CopyOutcome::Done : CopyOutcome::Failed;
    }

    BoxAnswer AskAboutReplacing(const fs::path &target) const
    {
        const QString text = QStringLiteral("This folder already contains a file named \"%1\".\n\n"
                                            "Would you like to replace the existing file?")
                                 .arg(QString::fromStdString(target.filename().string()));
        return progress_ ? progress_->Ask(text) : AskReplace(text);
    }

    CopyProgress *progress_;
    Collision collision_;
    bool replaceAll_ = false;
};

}  // namespace

CopyProgress::CopyProgress(QWidget *owner, int total) : owner_(owner), total_(total)
{
    running_.start();
}

CopyProgress::~CopyProgress() = default;

bool CopyProgress::Advance(const std::string &name)
{
    ++done_;
    // The time the user takes to answer questions does not bring the dialog on.
    if (!dialog_ && running_.elapsed() - answering_ >= kProgressDelayMs) ShowDialog();
    if (dialog_ && (!updatedAt_.isValid() || updatedAt_.elapsed() >= kProgressStepMs)) Update(name);
    return !cancelled_;
}

void CopyProgress::ShowDialog()
{
    dialog_ = std::make_unique<QProgressDialog>(QString(), QStringLiteral("Cancel"), 0, total_, owner_);
    dialog_->setWindowTitle(QStringLiteral("Copying..."));
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setAutoReset(false);
    dialog_->setAutoClose(false);
    dialog_->show();
}

void CopyProgress::Update(const std::string &name)
{
    updatedAt_.start();
    dialog_->setLabelText(QString::fromStdString(name));
    dialog_->setValue(done_);
    // Shown, the dialog lets the window repaint and hears its Cancel button.
    QCoreApplication::processEvents();
    cancelled_ = cancelled_ || dialog_->wasCanceled();
}

BoxAnswer CopyProgress::Ask(const QString &text)
{
    const bool shown = dialog_ && dialog_->isVisible();
    if (shown) dialog_->hide();
    QElapsedTimer asking;
    asking.start();
    const BoxAnswer answer = AskReplace(text);
    answering_ += asking.elapsed();
    if (shown) dialog_->show();
    return answer;
}

CopyOutcome CopyRenamingOnCollision(CopyProgress *progress, const std::string &src,
                                    const std::string &dst)
{
    return TreeCopy(progress, Collision::Rename).CopyAll(PlanCopy(src, dst, Collision::Rename));
}

CopyOutcome CopyAskingBeforeReplace(QWidget *owner, const std::string &src,
                                    const std::string &dst)
{
    const std::vector<CopyItem> items = PlanCopy(src, dst, Collision::AskBeforeReplace);
    CopyProgress progress(owner, static_cast<int>(items.size()));
    return TreeCopy(&progress, Collision::AskBeforeReplace).CopyAll(items);
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
