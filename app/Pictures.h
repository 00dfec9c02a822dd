#pragma once

#include <QPixmap>

// Pictures the program draws itself.
QPixmap SplashPicture(QSize size);
// A web page's wireframe, shown where no template screenshot is.
QPixmap LayoutPicture(QSize size);
