#pragma once

#include "imaging/JpegCodec.h"

#include <QDialog>
#include <QSize>

#include <memory>

namespace Ui {
class TForm10;
}

// Size of the editor window for a picture on a screen: the picture with room
// for the tool bar, kept on the screen and never below 690 x 350.
QSize EditorWindowSize(QSize image, QSize screen);

// The image editor. It edits the JPEG file whose path, relative to the open
// template's folder, is the window's caption; it writes no file itself.
class TForm10 : public QDialog {
    Q_OBJECT
public:
    explicit TForm10(QWidget *parent = nullptr);
    ~TForm10() override;

    Ui::TForm10 *Ui() const { return ui.get(); }
    // The base image with the channel mask and the brightness applied.
    const BgrImage &ViewImage() const { return ViewBitmap; }
    const BgrImage &BaseImage() const { return ImageBitmap; }

    void FormShow();
    void BitBtn3Click();
    void BitBtn2Click();
    void BitBtn1Click();
    void Grayscale1Click();
    void CheckBox1Click();
    void ScrollBar1Change();
    void BitBtn6Click();
    void BitBtn5Click();
    void Exit1Click();
    void Help1Click();
    void TP1Click();

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void ConnectHandlers();
    bool LoadAndReset();
    bool LoadEditedImage();
    void SetImageBitmap(BgrImage image);
    void BitmapChanged();
    void FlipBitmap(bool vertical, bool horizontal, const BgrImage &source);
    void RecomputeView();
    void FitWindow();
    void CenterOnScreen();
    void PlaceOnScreen();

    std::unique_ptr<Ui::TForm10> ui;
    BgrImage ImageBitmap;
    BgrImage ViewBitmap;
    bool placeWhenPainted = false;
};
