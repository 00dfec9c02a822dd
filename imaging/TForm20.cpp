#include "imaging/TForm20.h"

#include "ui_TForm20.h"

TForm20::TForm20(QWidget *parent) : QDialog(parent), ui(new Ui::TForm20) { ui->setupUi(this); }

TForm20::~TForm20() = default;
