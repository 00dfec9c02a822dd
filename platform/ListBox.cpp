#include "platform/ListBox.h"

ListBox::ListBox(QWidget *parent) : QListWidget(parent)
{
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (userInput) selectionChanged = true;
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

void ListBox::mousePressEvent(QMouseEvent *event)
{
    AsUserInput([&] { QListWidget::mousePressEvent(event); });
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
