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
    // the picture must outlive its showing.
    void Show(const BgrImage &picture);
    // Shows `picture`, which the panel keeps.
    void Draw(BgrImage picture);
    // The shown picture, over its own pixels.
    QImage Shown() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const BgrImage *shown = &kept;
    BgrImage kept;
};
