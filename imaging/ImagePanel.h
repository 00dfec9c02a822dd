#pragma once

#include "imaging/JpegCodec.h"

#include <QImage>
#include <QWidget>

// A panel that shows a picture at its top-left corner.
class ImagePanel : public QWidget {
    Q_OBJECT
public:
    explicit ImagePanel(QWidget *parent = nullptr);

    // Shows `picture` as it is whenever the panel paints, without a copy;
    // the picture must outlive its showing. With `dithered` its odd columns
    // (1, 3, 5, ...) show black.
    void Show(const BgrImage &picture, bool dithered = false);
    // The shown picture, over its own pixels.
    QImage Shown() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const BgrImage *shown = nullptr;
    bool dither = false;
};
