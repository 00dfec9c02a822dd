#include "app/TSplash.h"

#include "ui_TSplash.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QScreen>

#include <algorithm>

namespace {

QPixmap SplashPicture(QSize size)
{
    QPixmap picture(size);
    QPainter painter(&picture);
    QLinearGradient sky(0, 0, size.width(), size.height());
    sky.setColorAt(0.0, QColor(0x1d, 0x4e, 0x89));
    sky.setColorAt(0.6, QColor(0x3f, 0x8e, 0xc9));
    sky.setColorAt(1.0, QColor(0xa8, 0xd8, 0xf0));
    painter.fillRect(picture.rect(), sky);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 40));
    painter.drawEllipse(QPoint(size.width() - 40, 30), 90, 90);
    painter.drawEllipse(QPoint(30, size.height()), 70, 70);
    return picture;
}

}  // namespace

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
