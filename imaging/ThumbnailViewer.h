#pragma once

#include <QListWidget>

#include <string>
#include <vector>

// A grid of thumbnails of the picture files of one folder (JPEG, bitmap,
// icon and metafile extensions), sorted like the program's sorted lists.
// Cells have a set size; each picture is drawn inside its cell with a fixed
// padding, scaled down to fit and never enlarged, with its name below it.
class ThumbnailViewer : public QListWidget {
    Q_OBJECT
public:
    static constexpr int kPadding = 3;

    explicit ThumbnailViewer(QWidget *parent = nullptr);

    void SetFolder(const std::string &folder) { folder_ = folder; }
    // Reads the folder again: one cell per picture file, none selected.
    void Reload();
    const std::vector<std::string> &Files() const { return files_; }

    void SetCellSize(QSize size);
    QSize CellSize() const { return cellSize_; }

    // The selected cell from 0, or -1. Setting a position outside the grid
    // selects nothing.
    int Position() const;
    void SetPosition(int position);
    void ScrollToPosition(int position);

signals:
    void DblClick();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void ShowThumbnails();
    void CentreGrid();

    std::string folder_;
    std::vector<std::string> files_;
    QSize cellSize_;
};

