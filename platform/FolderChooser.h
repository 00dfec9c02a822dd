#pragma once

#include <QComboBox>
#include <QListWidget>

class DirectoryList;
class FileListBox;

// The three linked controls of a folder chooser: a box of the file system's
// roots and mount points, a folder list and a file list.

class DriveBox : public QComboBox {
    Q_OBJECT
public:
    explicit DriveBox(QWidget *parent = nullptr);
    void SetDirList(DirectoryList *list);
    void ShowDriveOf(const QString &folder);

private:
    DirectoryList *dirList = nullptr;
};

// Shows the path of its current folder and that folder's sub-folders;
// a double-click makes an entry the current folder.
class DirectoryList : public QListWidget {
    Q_OBJECT
public:
    explicit DirectoryList(QWidget *parent = nullptr);
    void SetDriveBox(DriveBox *box);
    void SetFileList(FileListBox *list);

    QString Directory() const;
    // A folder that does not exist is not taken.
    bool SetDirectory(const QString &folder);
    void Reread();

signals:
    void DirectoryChanged();

private:
    void Fill();

    QString current;
    DriveBox *driveBox = nullptr;
    FileListBox *fileList = nullptr;
};

// Shows the sub-folders and files of a folder with icons, hidden entries left out.
class FileListBox : public QListWidget {
    Q_OBJECT
public:
    explicit FileListBox(QWidget *parent = nullptr);
    void SetDirectory(const QString &folder);

signals:
    void Change();
};
