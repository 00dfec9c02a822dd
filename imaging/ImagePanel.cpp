#include "imaging/ImagePanel.h"

#include <QPainter>

namespace {

// A brush that blackens every odd column and leaves the even ones.
QBrush OddColumnsBlack()
{
    QImage pattern(2, 1, QImage::Format_ARGB32);
    pattern.setPixel(0, 0, qRgba(0, 0, 0, 0));
    pattern.setPixel(1, 0, qRgba(0, 0, 0, 255));
    return QBrush(pattern);
}

} // namespace

ImagePanel::ImagePanel(QWidget *parent) : QWidget(parent)
{
    // The picture covers the panel, so repainting it never repaints the window behind.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImagePanel::Show(const BgrImage &picture, bool dithered)
{
    shown = &picture;
    dither = dithered;
    update();
}

QImage ImagePanel::Shown() const
{
    if (!shown || shown->Empty()) return {};
    return {shown->pixels.data(), shown->width, shown->height, shown->Stride(), QImage::Format_BGR888};
}

void ImagePanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QImage picture = Shown();
    painter.drawImage(0, 0, picture);
    if (dither) painter.fillRect(picture.rect(), OddColumnsBlack());
}
