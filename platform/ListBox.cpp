#include "platform/ListBox.h"

#include <QMouseEvent>

ListBox::ListBox(QWidget *parent) : QListWidget(parent)
{
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (userInput)
            selectionChanged = true;
        else
            programSelected = true;
    });
}

template <class Handle>
void ListBox::AsUserInput(Handle handle)
{
    userInput = true;
    selectionChanged = false;
    handle();
    userInput = false;
    if (selectionChanged) emit Click();
}

QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex &index, const QEvent *event) const
{
    if (!index.isValid() && dynamic_cast<const QMouseEvent *>(event))
        return QItemSelectionModel::NoUpdate;
    // A press on the selected entry selects it again on release, which would
    // undo what the click's handler selected meanwhile.
    if (event && event->type() == QEvent::MouseButtonRelease && programSelected) return QItemSelectionModel::NoUpdate;
    return QListWidget::selectionCommand(index, event);
}

void ListBox::mousePressEvent(QMouseEvent *event)
{
    programSelected = false;
    AsUserInput([&] { QListWidget::mousePressEvent(event); });
    // A click on the selected entry changes nothing, yet it is a click.
    const QListWidgetItem *entry = itemAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && !selectionChanged && entry && entry->isSelected()) emit Click();
}

void ListBox::mouseMoveEvent(QMouseEvent *event)
{
    AsUserInput([&] { QListWidget::mouseMoveEvent(event); });
}

void ListBox::mouseReleaseEvent(QMouseEvent *event)
{
    AsUserInput([&] { QListWidget::mouseReleaseEvent(event); });
}

void ListBox::keyPressEvent(QKeyEvent *event)
{
    AsUserInput([&] { QListWidget::keyPressEvent(event); });
}
