#include "app/Pictures.h"

#include <QLinearGradient>
#include <QPainter>

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

QPixmap LayoutPicture(QSize size)
{
    QPixmap picture(size);
    picture.fill(QColor(0xf4, 0xf6, 0xf8));
    QPainter painter(&picture);
    const int w = size.width(), h = size.height(), m = w / 20;
    const QColor frame(0xb8, 0xc4, 0xd0), header(0x5b, 0x8d, 0xbf), block(0xdd, 0xe4, 0xeb);
    painter.setPen(frame);
    painter.setBrush(header);
    painter.drawRect(m, m, w - 2 * m, h / 6);
    painter.setBrush(block);
    const int top = m + h / 6 + m / 2, bottom = h - m - h / 10;
    painter.drawRect(m, top, w / 4, bottom - top - m / 2);
    const int contentLeft = m + w / 4 + m / 2;
    for (int line = 0; line < 5; ++line)
        painter.drawRect(contentLeft, top + line * (bottom - top) / 5, w - contentLeft - m, (bottom - top) / 8);
    painter.setBrush(header.lighter(140));
    painter.drawRect(m, bottom, w - 2 * m, h / 10);
    return picture;
}
