#include "platform/ComboBox.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>

ComboBox::ComboBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    WatchLineEdit();
}

void ComboBox::WatchLineEdit()
{
    setCompleter(nullptr);
    lineEdit()->installEventFilter(this);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] {
        if (opensListOnTyping && !view()->isVisible()) showPopup();
    });
}

void ComboBox::showPopup()
{
    emit DropDown();
    QComboBox::showPopup();
}

void ComboBox::SetOpensListOnTyping(bool opens) { opensListOnTyping = opens; }

bool ComboBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            emit Enter();
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}
