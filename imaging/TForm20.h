#pragma once

#include <QDialog>

#include <memory>
#include <optional>
#include <string>

namespace Ui {
class TForm20;
}

// The image editor's save-as dialog: writes the editor's view image as a new
// JPEG file beside the edited one and makes it the image row's file.
class TForm20 : public QDialog {
    Q_OBJECT
public:
    explicit TForm20(QWidget *parent = nullptr);
    ~TForm20() override;

    Ui::TForm20 *Ui() const { return ui.get(); }

    void FormShow();
    void BitBtn5Click();
    void BitBtn7Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::optional<std::string> ImageFolder() const;
    void RefuseName(const QString &reason);
    void SelectSavedImage(int row, const std::string &name);

    std::unique_ptr<Ui::TForm20> ui;
};
