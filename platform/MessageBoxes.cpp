#include "platform/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <utility>

namespace platform {
namespace {

BoxResponder &Responder()
{
    static BoxResponder responder;
    return responder;
}

std::function<void(bool)> &Watcher()
{
    static std::function<void(bool)> watcher;
    return watcher;
}

QString CaptionOf(BoxKind kind)
{
    switch (kind) {
    case BoxKind::Error: return QStringLiteral("Error");
    case BoxKind::Confirm: return QStringLiteral("Confirm");
    case BoxKind::Replace: return QStringLiteral("Confirm File Replace");
    case BoxKind::Plain:
    case BoxKind::Uncaught: break;
    }
    return QApplication::applicationName();
}

QMessageBox::Icon IconOf(BoxKind kind)
{
    switch (kind) {
    case BoxKind::Plain: return QMessageBox::NoIcon;
    case BoxKind::Confirm:
    case BoxKind::Replace: return QMessageBox::Question;
    case BoxKind::Error:
    case BoxKind::Uncaught: break;
    }
    return QMessageBox::Critical;
}

// A box raised while a modal dialog is up belongs to that dialog, which
// would otherwise block it.
QWidget *OwnerWindow()
{
    if (QWidget *modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

BoxAnswer RunDialog(const ShownBox &box)
{
    QMessageBox dialog(IconOf(box.kind), box.caption, box.text, QMessageBox::NoButton, OwnerWindow());
    if (box.kind != BoxKind::Confirm && box.kind != BoxKind::Replace) {
        dialog.addButton(QMessageBox::Ok);
        dialog.exec();
        return BoxAnswer::Ok;
    }
    QPushButton *yes = dialog.addButton(QMessageBox::Yes);
    QPushButton *yesToAll =
        box.kind == BoxKind::Replace ? dialog.addButton(QMessageBox::YesToAll) : nullptr;
    QPushButton *no = dialog.addButton(QMessageBox::No);
    QPushButton *cancel = dialog.addButton(QMessageBox::Cancel);
    dialog.setDefaultButton(yes);
    dialog.setEscapeButton(cancel);
    dialog.exec();
    const auto *clicked = dialog.clickedButton();
    if (clicked == yes) return BoxAnswer::Yes;
    if (yesToAll && clicked == yesToAll) return BoxAnswer::YesToAll;
    if (clicked == no) return BoxAnswer::No;
    return BoxAnswer::Cancel;
}

BoxAnswer Show(BoxKind kind, const QString &text)
{
    const ShownBox box{kind, CaptionOf(kind), text};
    const std::function<void(bool)> watcher = Watcher();
    if (watcher) watcher(true);
    const BoxAnswer answer = Responder() ? Responder()(box) : RunDialog(box);
    if (watcher) watcher(false);
    return answer;
}

}  // namespace

void SetBoxResponder(BoxResponder responder) { Responder() = std::move(responder); }

BoxWatch::BoxWatch(std::function<void(bool showing)> showing) : previous(std::exchange(Watcher(), std::move(showing))) {}

BoxWatch::~BoxWatch() { Watcher() = std::move(previous); }

void ShowMessage(const QString &text) { Show(BoxKind::Plain, text); }
void ShowError(const QString &text) { Show(BoxKind::Error, text); }
BoxAnswer AskConfirmation(const QString &text) { return Show(BoxKind::Confirm, text); }
BoxAnswer AskReplace(const QString &text) { return Show(BoxKind::Replace, text); }
void ReportUncaughtError(const QString &text) { Show(BoxKind::Uncaught, text); }

}  // namespace platform
