#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TForm20;
}

// The image editor's save-as dialog.
class TForm20 : public QDialog {
    Q_OBJECT
public:
    explicit TForm20(QWidget *parent = nullptr);
    ~TForm20() override;

private:
    std::unique_ptr<Ui::TForm20> ui;
};
