#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TForm5;
}
class ThumbnailViewer;

// The image browser: thumbnails of one folder; OK accepts with the selected
// thumbnail, which the opener then takes as its choice.
class TForm5 : public QDialog {
    Q_OBJECT
public:
    explicit TForm5(QWidget *parent = nullptr);
    ~TForm5() override;

    Ui::TForm5 *Ui() const { return ui.get(); }
    ThumbnailViewer *Viewer() const { return ImageViewer; }

    void ComboBox1Change();
    void BitBtn2Click();
    void BitBtn9Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();

    std::unique_ptr<Ui::TForm5> ui;
    ThumbnailViewer *ImageViewer = nullptr;
};
