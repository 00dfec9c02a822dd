#pragma once

#include <QImage>
#include <QWidget>

// A panel that shows a picture at its top-left corner.
class ImagePanel : public QWidget {
    Q_OBJECT
public:
    explicit ImagePanel(QWidget *parent = nullptr);

    void Draw(const QImage &image);
    const QImage &Shown() const { return shown; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage shown;
};
