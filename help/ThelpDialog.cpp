#include "help/ThelpDialog.h"

#include "ui_ThelpDialog.h"

ThelpDialog::ThelpDialog(QWidget *parent) : QDialog(parent), ui(new Ui::ThelpDialog) { ui->setupUi(this); }

ThelpDialog::~ThelpDialog() = default;
