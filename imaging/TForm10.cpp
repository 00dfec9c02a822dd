#include "imaging/TForm10.h"

#include "ui_TForm10.h"

TForm10::TForm10(QWidget *parent) : QDialog(parent), ui(new Ui::TForm10) { ui->setupUi(this); }

TForm10::~TForm10() = default;
