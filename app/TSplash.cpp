#include "app/TSplash.h"

#include "app/Pictures.h"
#include "ui_TSplash.h"

#include <QProgressBar>
#include <QScreen>

#include <algorithm>


TSplash::TSplash() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint), ui(new Ui::TSplash)
{
    ui->setupUi(this);
    ui->Image1->setPixmap(SplashPicture(ui->Image1->size()));
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

TSplash::~TSplash() = default;

QLabel *TSplash::info() const { return ui->info; }

QProgressBar *TSplash::ProgressBar1() const { return ui->ProgressBar1; }

void TSplash::SetStep(int value) { step = value; }

void TSplash::StepIt()
{
    auto *bar = ui->ProgressBar1;
    bar->setValue(std::min(bar->value() + step, bar->maximum()));
}

void TSplash::Fill() { ui->ProgressBar1->setValue(ui->ProgressBar1->maximum()); }

void TSplash::RepaintNow() { repaint(); }
