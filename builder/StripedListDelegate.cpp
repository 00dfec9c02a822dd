#include "builder/StripedListDelegate.h"

#include <QApplication>
#include <QListWidget>
#include <QPainter>

namespace {

const QColor kEvenRow(255, 255, 255);
const QColor kOddRow(255, 251, 240);
const QColor kSelectedRow(0, 0, 128);
const QColor kSelectedText(255, 255, 255);

void DrawText(QPainter *painter, const QRect &rect, const QColor &color, const QString &text)
{
    painter->setPen(color);
    painter->drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

}  // namespace

StripedListDelegate::StripedListDelegate(int rowHeight_, QObject *parent)
    : QStyledItemDelegate(parent), rowHeight(rowHeight_)
{
}

void StripedListDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                const QModelIndex &index) const
{
    const QRect &rect = option.rect;
    const QString text = index.data(Qt::DisplayRole).toString();
    painter->save();
    painter->setFont(option.font);
    painter->fillRect(rect, index.row() % 2 == 0 ? kEvenRow : kOddRow);
    DrawText(painter, rect, option.palette.color(QPalette::Text), text);
    if (option.state & QStyle::State_Selected) {
        painter->fillRect(rect, kSelectedRow);
        DrawText(painter, rect, kSelectedText, text);
    }
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        const QWidget *widget = option.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }
    painter->restore();
}

QSize StripedListDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    return {QStyledItemDelegate::sizeHint(option, index).width(), rowHeight};
}

void InstallStripedRows(QListWidget *list, int fontPixelHeight, int rowHeight)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(fontPixelHeight);
    list->setFont(font);
    list->setUniformItemSizes(true);
    list->setItemDelegate(new StripedListDelegate(rowHeight, list));
}
