#include "platform/FolderChooser.h"

#include <QDir>
#include <QFileIconProvider>
#include <QStorageInfo>

#include <algorithm>

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

QStringList FolderAndAncestors(const QString &folder)
{
    QStringList chain;
    QDir dir(folder);
    do chain.prepend(dir.absolutePath());
    while (dir.cdUp());
    return chain;
}

QString DisplayName(const QString &path)
{
    const QString name = QDir(path).dirName();
    return name.isEmpty() ? path : name;
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

DirectoryList::DirectoryList(QWidget *parent) : QListWidget(parent), current(QDir::currentPath())
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
    if (folder.isEmpty() || !QDir(folder).exists()) return false;
    current = QDir(folder).absolutePath();
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
    const QDir dir(current);
    for (const QString &name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
        AddFolderItem(this, dir.filePath(name), int(chain.size()), folderIcon);
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
    const QDir dir(folder);
    const auto entries = dir.entryInfoList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot,
                                           QDir::DirsFirst | QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &entry : entries) addItem(new QListWidgetItem(icons.icon(entry), entry.fileName()));
}
