#include "imaging/ImagePanel.h"

#include <QPainter>

ImagePanel::ImagePanel(QWidget *parent) : QWidget(parent)
{
    // The picture covers the panel, so repainting it never repaints the window behind.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImagePanel::Draw(const QImage &image)
{
    shown = image;
    update();
}

void ImagePanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, shown);
}
