#pragma once

#include <QSize>

// The picture's size scaled down to fit `space`, keeping its proportions; no
// smaller when it fits already or when there is no space.
inline QSize FittedSize(QSize picture, QSize space)
{
    if (space.isEmpty() || (picture.width() <= space.width() && picture.height() <= space.height()))
        return picture;
    return picture.scaled(space, Qt::KeepAspectRatio);
}
