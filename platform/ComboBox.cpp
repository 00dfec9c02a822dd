#include "platform/ComboBox.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

bool IsEnter(const QKeyEvent *key) { return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter; }

// Keys that edit the text rather than move through the open list.
bool IsTyping(const QKeyEvent *key)
{
    switch (key->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return !key->text().isEmpty() && key->text().at(0).isPrint();
    }
}

}  // namespace

ComboBox::ComboBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    lineEdit()->installEventFilter(this);
    view()->installEventFilter(this);
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

void ComboBox::keyPressEvent(QKeyEvent *event)
{
    if (IsEnter(event))
        emit Enter();
    else
        QComboBox::keyPressEvent(event);
}

bool ComboBox::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (watched == lineEdit() && IsEnter(key)) {
            emit Enter();
            return true;
        }
        // Typing while the list is open goes on in the text and leaves no entry
        // highlighted, so that Enter then takes the typed text.
        if (watched == view() && IsTyping(key)) {
            view()->setCurrentIndex({});
            QCoreApplication::sendEvent(lineEdit(), key);
            return true;
        }
        if (watched == view() && IsEnter(key) && !view()->currentIndex().isValid()) {
            hidePopup();
            emit Enter();
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}
