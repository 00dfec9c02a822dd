#include "imaging/TForm5.h"

#include "ui_TForm5.h"

TForm5::TForm5(QWidget *parent) : QDialog(parent), ui(new Ui::TForm5) { ui->setupUi(this); }

TForm5::~TForm5() = default;
