#include "help/ThelpDialog.h"

#include "platform/Browser.h"
#include "ui_ThelpDialog.h"

#include <QScreen>
#include <QShortcut>
#include <QShowEvent>

ThelpDialog::ThelpDialog(QWidget *parent) : QDialog(parent), ui(new Ui::ThelpDialog)
{
    ui->setupUi(this);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    // Escape closes the window also while the browser has the focus.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QDialog::reject);
}

ThelpDialog::~ThelpDialog() = default;

void ThelpDialog::ShowPage(const std::string &address)
{
    SetPageURL(address);
    exec();
}

void ThelpDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous()) return;  // restored from minimised
    CentreOnScreen();
    FormShow();
}

void ThelpDialog::FormShow() { platform::Navigate(ui->WebBrowser1, pageURL); }

void ThelpDialog::CentreOnScreen()
{
    const QScreen *shownOn = screen();
    if (!shownOn) return;
    QRect frame = frameGeometry();
    frame.moveCenter(shownOn->availableGeometry().center());
    move(frame.topLeft());
}
