#include "help/TForm8.h"

#include "ui_TForm8.h"

TForm8::TForm8(QWidget *parent) : QDialog(parent), ui(new Ui::TForm8) { ui->setupUi(this); }

TForm8::~TForm8() = default;
