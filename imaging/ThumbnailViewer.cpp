#include "imaging/ThumbnailViewer.h"

#include "app/PathSafety.h"
#include "builder/ControlRules.h"
#include "imaging/ImageFileNames.h"
#include "imaging/JpegCodec.h"
#include "imaging/MetafilePicture.h"
#include "platform/FileBytes.h"
#include "platform/FileNameText.h"

#include <QBuffer>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
#include <filesystem>

namespace {

std::string LowerExtension(const std::string &name)
{
    const auto dot = name.rfind('.');
    std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    for (char &c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return extension;
}

bool HasExtension(const std::string &name, std::initializer_list<const char *> extensions)
{
    const std::string extension = LowerExtension(name);
    return std::any_of(extensions.begin(), extensions.end(), [&](const char *known) { return extension == known; });
}

bool IsPictureName(const std::string &name)
{
    return HasExtension(name, {"jpg", "jpeg", "bmp", "ico", "emf", "wmf"});
}

// The picture read and fitted into `space`, scaled once.
QImage LoadPicture(const std::string &path, QSize space)
{
    if (HasJpegExtension(path)) return LoadJpegImage(path, space);
    if (HasExtension(path, {"emf", "wmf"})) return LoadMetafilePicture(path, space);
    // Read as bytes: the toolkit cannot open a file whose name is not UTF-8.
    std::string bytes;
    if (!ReadFileBytes(path, kPageFileCap, bytes)) return {};
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer file(&data);
    QImageReader reader(&file, QByteArray::fromStdString(LowerExtension(path)));
    const QSize fitted = FittedSize(reader.size(), space);
    if (fitted != reader.size()) reader.setScaledSize(fitted);
    return reader.read();
}

std::vector<std::string> PictureFiles(const std::string &folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto &entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        // A link is shown only when it stays inside the folder.
        if (IsPictureName(name) && entry.is_regular_file(error) && (!entry.is_symlink() || LiesBelow(folder, name)))
            names.push_back(name);
    }
    return SortedWithoutDuplicates(names);
}

// A cell whose picture is read when it is asked for, as the cell is drawn.
class ThumbnailItem : public QListWidgetItem {
public:
    using QListWidgetItem::QListWidgetItem;

    QVariant data(int role) const override
    {
        if (role != Qt::DecorationRole) return QListWidgetItem::data(role);
        auto *viewer = static_cast<ThumbnailViewer *>(listWidget());
        return viewer->Thumbnail(viewer->row(this));
    }
};

// Draws a cell: the selection, the picture centred in the padded space and
// the file name over the cell's lower edge.
class ThumbnailDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        return static_cast<const ThumbnailViewer *>(parent())->CellSize();
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        painter->save();
        const QRect cell = option.rect;
        const QPalette &palette = option.palette;
        if (option.state & QStyle::State_Selected) painter->fillRect(cell, palette.highlight());
        painter->setPen(palette.mid().color());
        painter->drawRect(cell.adjusted(0, 0, -1, -1));
        const QRect space = cell.adjusted(ThumbnailViewer::kPadding, ThumbnailViewer::kPadding, -ThumbnailViewer::kPadding,
                                          -ThumbnailViewer::kPadding);
        const QPixmap picture = index.data(Qt::DecorationRole).value<QPixmap>();
        if (!picture.isNull()) {
            QRect placed(QPoint(), picture.size());
            placed.moveCenter(space.center());
            painter->drawPixmap(placed, picture);
        }
        DrawName(painter, space, option, index.data(Qt::DisplayRole).toString());
        painter->restore();
    }

private:
    static void DrawName(QPainter *painter, const QRect &space, const QStyleOptionViewItem &option,
                         const QString &name)
    {
        const QFontMetrics metrics(option.font);
        QRect band(space.left(), space.bottom() - metrics.height() + 1, space.width(), metrics.height());
        const QString shown = metrics.elidedText(name, Qt::ElideMiddle, band.width() - 4);
        band.setWidth(std::min(band.width(), metrics.horizontalAdvance(shown) + 4));
        QColor shade = option.palette.window().color();
        shade.setAlpha(200);
        painter->fillRect(band, shade);
        painter->setPen(option.palette.windowText().color());
        painter->drawText(band, Qt::AlignCenter, shown);
    }
};

}  // namespace

ThumbnailViewer::ThumbnailViewer(QWidget *parent) : ThumbnailViewer(LoadPicture, parent) {}

ThumbnailViewer::ThumbnailViewer(ThumbnailCache::Loader loader, QWidget *parent)
    : QListWidget(parent), cellSize_(400, 100), thumbnails_(std::move(loader), kCacheBytes)
{
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setUniformItemSizes(true);
    setSpacing(0);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setItemDelegate(new ThumbnailDelegate(this));
    QPalette colours = palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Window));
    setPalette(colours);
    setGridSize(cellSize_);
}

void ThumbnailViewer::Reload()
{
    clear();
    thumbnails_.Clear();
    files_ = PictureFiles(folder_);
    for (const std::string &name : files_) {
        auto *item = new ThumbnailItem(platform::FileNameToText(name), this);
        item->setToolTip(item->text());
    }
}

void ThumbnailViewer::SetCellSize(QSize size)
{
    cellSize_ = size;
    setGridSize(size);
    executeDelayedItemsLayout();  // no cell is drawn, nor read, at its old place
    CentreGrid();
}

QPixmap ThumbnailViewer::Thumbnail(int row)
{
    if (row < 0 || row >= count()) return {};
    const std::string path = folder_ + "/" + files_[static_cast<std::size_t>(row)];
    return thumbnails_.Picture(path, cellSize_ - QSize(2 * kPadding, 2 * kPadding));
}

int ThumbnailViewer::Position() const
{
    const QList<QListWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.front());
}

void ThumbnailViewer::SetPosition(int position)
{
    clearSelection();
    if (position < 0 || position >= count()) return;
    setCurrentRow(position);
}

void ThumbnailViewer::ScrollToPosition(int position)
{
    if (position >= 0 && position < count()) scrollToItem(item(position));
}

void ThumbnailViewer::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListWidget::mouseDoubleClickEvent(event);
    emit DblClick();
}

void ThumbnailViewer::resizeEvent(QResizeEvent *event)
{
    QListWidget::resizeEvent(event);
    CentreGrid();
}

void ThumbnailViewer::CentreGrid()
{
    const int scrollBar = verticalScrollBar()->isVisible() ? verticalScrollBar()->width() : 0;
    const int width = contentsRect().width() - scrollBar;
    const int columns = std::max(1, width / cellSize_.width());
    setViewportMargins(std::max(0, (width - columns * cellSize_.width()) / 2), 0, 0, 0);
}
