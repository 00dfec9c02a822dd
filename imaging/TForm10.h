#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TForm10;
}

// The image editor.
class TForm10 : public QDialog {
    Q_OBJECT
public:
    explicit TForm10(QWidget *parent = nullptr);
    ~TForm10() override;

private:
    std::unique_ptr<Ui::TForm10> ui;
};
