#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class ThelpDialog;
}

// The help window.
class ThelpDialog : public QDialog {
    Q_OBJECT
public:
    explicit ThelpDialog(QWidget *parent = nullptr);
    ~ThelpDialog() override;

private:
    std::unique_ptr<Ui::ThelpDialog> ui;
};
