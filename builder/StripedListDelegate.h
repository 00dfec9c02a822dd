#pragma once

#include <QStyledItemDelegate>

class QListWidget;

// Draws list rows in alternating white and cream, the selected row in navy
// with white text, every row of one fixed height.
class StripedListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    StripedListDelegate(int rowHeight, QObject *parent);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    int rowHeight;
};

// Gives `list` the font of the given pixel height and striped rows of `rowHeight`.
void InstallStripedRows(QListWidget *list, int fontPixelHeight, int rowHeight);
