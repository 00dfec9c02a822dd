#include "platform/FolderChooser.h"

#include "platform/FileNameText.h"
#include "platform/FolderSearch.h"

#include <QFileIconProvider>
#include <QStorageInfo>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kPathRole = Qt::UserRole;

QStringList MountPoints()
{
    QStringList roots;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady()) roots << volume.rootPath();
    roots.removeDuplicates();
    std::sort(roots.begin(), roots.end());
    return roots;
}

// Paths and names are shown through FileNameToText, so that a name that is
// not UTF-8 still leads to its folder.
fs::path PathOf(const QString &text) { return platform::FileNameFromText(text); }
QString TextOf(const fs::path &path) { return platform::FileNameToText(path.native()); }

// The absolute path without "." and ".." and without a trailing "/".
QString CleanPath(const fs::path &path)
{
    std::error_code error;
    const fs::path clean = fs::absolute(path, error).lexically_normal();
    return TextOf(clean.has_filename() || clean == clean.root_path() ? clean : clean.parent_path());
}

QString WorkingFolder()
{
    std::error_code error;
    const fs::path folder = fs::current_path(error);
    return error ? QString() : CleanPath(folder);
}

QStringList FolderAndAncestors(const QString &folder)
{
    QStringList chain;
    for (fs::path path = PathOf(folder);; path = path.parent_path()) {
        chain.prepend(TextOf(path));
        if (path == path.root_path() || !path.has_relative_path()) return chain;
    }
}

QString DisplayName(const QString &path)
{
    const QString name = TextOf(PathOf(path).filename());
    return name.isEmpty() ? path : name;
}

bool IsFolder(const platform::FoundEntry &entry) { return entry.attributes & platform::faDirectory; }

// The folders (and, when asked, plain files) of `folder`, hidden entries left
// out; folders first, each part in the order of the folder search.
std::vector<platform::FoundEntry> VisibleEntries(const fs::path &folder, bool withFiles)
{
    std::vector<platform::FoundEntry> entries = platform::FindEntries(folder.native(), "*", platform::faDirectory);
    std::erase_if(entries, [&](const platform::FoundEntry &entry) {
        std::error_code error;
        return platform::IsDotEntry(entry.name) ||
               !(IsFolder(entry) || (withFiles && fs::is_regular_file(folder / entry.name, error)));
    });
    std::ranges::stable_partition(entries, IsFolder);
    return entries;
}

QListWidgetItem *AddFolderItem(QListWidget *list, const QString &path, int depth, const QIcon &icon)
{
    auto *item = new QListWidgetItem(icon, QString(depth * 2, ' ') + DisplayName(path), list);
    item->setData(kPathRole, path);
    return item;
}

}  // namespace

DriveBox::DriveBox(QWidget *parent) : QComboBox(parent)
{
    // A long mount point must not widen the window.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(12);
    addItems(MountPoints());
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (dirList) dirList->SetDirectory(itemText(index));
    });
}

void DriveBox::SetDirList(DirectoryList *list) { dirList = list; }

void DriveBox::ShowDriveOf(const QString &folder)
{
    int best = -1;
    for (int i = 0; i < count(); ++i) {
        const QString root = itemText(i);
        const bool holds = folder == root || folder.startsWith(root.endsWith('/') ? root : root + '/');
        if (holds && (best < 0 || root.size() > itemText(best).size())) best = i;
    }
    if (best >= 0) setCurrentIndex(best);
}

DirectoryList::DirectoryList(QWidget *parent) : QListWidget(parent), current(WorkingFolder())
{
    setIconSize(QSize(16, 16));
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { SetDirectory(item->data(kPathRole).toString()); });
    Fill();
}

void DirectoryList::SetDriveBox(DriveBox *box)
{
    driveBox = box;
    driveBox->SetDirList(this);
    driveBox->ShowDriveOf(current);
}

void DirectoryList::SetFileList(FileListBox *list)
{
    fileList = list;
    fileList->SetDirectory(current);
}

QString DirectoryList::Directory() const { return current; }

bool DirectoryList::SetDirectory(const QString &folder)
{
    std::error_code error;
    if (folder.isEmpty() || !fs::is_directory(PathOf(folder), error)) return false;
    current = CleanPath(PathOf(folder));
    Reread();
    emit DirectoryChanged();
    return true;
}

void DirectoryList::Reread()
{
    Fill();
    if (driveBox) driveBox->ShowDriveOf(current);
    if (fileList) fileList->SetDirectory(current);
}

void DirectoryList::Fill()
{
    clear();
    const QFileIconProvider icons;
    const QIcon folderIcon = icons.icon(QFileIconProvider::Folder);
    const QStringList chain = FolderAndAncestors(current);
    for (int depth = 0; depth < chain.size(); ++depth)
        AddFolderItem(this, chain[depth], depth, folderIcon);
    setCurrentRow(count() - 1);
    const fs::path folder = PathOf(current);
    for (const platform::FoundEntry &entry : VisibleEntries(folder, false))
        AddFolderItem(this, TextOf(folder / entry.name), int(chain.size()), folderIcon);
}

FileListBox::FileListBox(QWidget *parent) : QListWidget(parent)
{
    setIconSize(QSize(16, 16));
    connect(this, &QListWidget::currentRowChanged, this, &FileListBox::Change);
}

void FileListBox::SetDirectory(const QString &folder)
{
    clear();
    const QFileIconProvider icons;
    for (const platform::FoundEntry &entry : VisibleEntries(PathOf(folder), true)) {
        const auto kind = IsFolder(entry) ? QFileIconProvider::Folder : QFileIconProvider::File;
        addItem(new QListWidgetItem(icons.icon(kind), platform::FileNameToText(entry.name)));
    }
}
