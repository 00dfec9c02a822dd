#pragma once

#include "imaging/ThumbnailCache.h"

#include <QListWidget>

#include <string>
#include <vector>

// A grid of thumbnails of the picture files of one folder (JPEG, bitmap,
// icon and metafile extensions), sorted like the program's sorted lists.
// Cells have a set size; each picture is drawn inside its cell with a fixed
// padding, scaled down to fit and never enlarged, with its name below it.
// A picture is read only when its cell is drawn; a bounded cache keeps the
// thumbnails drawn last.
class ThumbnailViewer : public QListWidget {
    Q_OBJECT
public:
    static constexpr int kPadding = 3;
    static constexpr std::size_t kCacheBytes = std::size_t{64} << 20;

    explicit ThumbnailViewer(QWidget *parent = nullptr);
    // Reads pictures with `loader` in place of the program's own readers.
    explicit ThumbnailViewer(ThumbnailCache::Loader loader, QWidget *parent = nullptr);

    void SetFolder(const std::string &folder) { folder_ = folder; }
    // Lists the folder again: one cell per picture file, none selected; the
    // pictures are read afresh as their cells are drawn.
    void Reload();
    const std::vector<std::string> &Files() const { return files_; }

    void SetCellSize(QSize size);
    QSize CellSize() const { return cellSize_; }
    // The picture of the cell at `row` fitted into its padded space.
    QPixmap Thumbnail(int row);

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
    void CentreGrid();

    std::string folder_;
    std::vector<std::string> files_;
    QSize cellSize_;
    ThumbnailCache thumbnails_;
};

