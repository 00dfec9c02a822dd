#include "imaging/ImagePanel.h"

#include <QPainter>

ImagePanel::ImagePanel(QWidget *parent) : QWidget(parent)
{
    // The picture covers the panel, so repainting it never repaints the window behind.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImagePanel::Show(const BgrImage &picture)
{
    kept = {};
    shown = &picture;
    update();
}

void ImagePanel::Draw(BgrImage picture)
{
    kept = std::move(picture);
    shown = &kept;
    update();
}

QImage ImagePanel::Shown() const
{
    if (shown->Empty()) return {};
    return {shown->pixels.data(), shown->width, shown->height, shown->Stride(), QImage::Format_BGR888};
}

void ImagePanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, Shown());
}
