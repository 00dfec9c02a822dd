#include "platform/Shell.h"

#include "platform/MessageBoxes.h"

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

namespace fs = std::filesystem;

namespace platform {
namespace {

// A copy that runs longer shows its progress.
constexpr qint64 kProgressDelayMs = 2000;
// A shown progress dialog is brought up to date this often.
constexpr qint64 kProgressStepMs = 50;

TreeCopy::Hooks ProgressHooks(CopyProgress *progress)
{
    if (!progress) return {};
    return {[progress](const std::string &name) { return progress->Advance(name); },
            [progress](const QString &text) { return progress->Ask(text); }, &progress->CopyNumbers()};
}

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

CopyOutcome CopyRenamingOnCollision(CopyProgress *progress, const CopyPaths &paths,
                                    std::vector<std::string> &skippedLinks)
{
    TreeCopy copy(Collision::Rename, paths.sourceRoot, ProgressHooks(progress));
    const CopyOutcome outcome = copy.Copy(paths.source, paths.target);
    skippedLinks.insert(skippedLinks.end(), copy.SkippedLinks().begin(), copy.SkippedLinks().end());
    return outcome;
}

CopyOutcome CopyAskingBeforeReplace(QWidget *owner, const std::string &src,
                                    const std::string &dst)
{
    CopyProgress progress(owner);
    return TreeCopy(Collision::AskBeforeReplace, "", ProgressHooks(&progress)).Copy(src, dst);
}

CopyOutcome CopyAddingMissing(const std::string &src, const std::string &dst,
                              const std::function<void()> &eachEntry)
{
    TreeCopy::Hooks hooks;
    hooks.advance = [&eachEntry](const std::string &) {
        eachEntry();
        return true;
    };
    return TreeCopy(Collision::AddMissing, "", std::move(hooks)).CopyContents(src, dst);
}

bool MoveToTrash(const std::string &path)
{
    if (path.empty()) return false;
    // Without the user's data folder Qt falls back to a trash in the current folder.
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty() || !QDir().mkpath(dataHome)) return false;
    return QFile::moveToTrash(QString::fromStdString(WithoutTrailingSlash(path).string()));
}

bool DeleteForGood(const std::string &path)
{
    std::error_code error;
    // Links are removed themselves, never followed.
    fs::remove_all(WithoutTrailingSlash(path), error);
    return !error;
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
