#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TForm8;
}

// The version check window.
class TForm8 : public QDialog {
    Q_OBJECT
public:
    explicit TForm8(QWidget *parent = nullptr);
    ~TForm8() override;

private:
    std::unique_ptr<Ui::TForm8> ui;
};
