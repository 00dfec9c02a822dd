#include "app/TForm1.h"

void TForm1::ConnectControlHandlers() {}

void TForm1::ListBox2Click() {}

void TForm1::onFontSelected() {}

void TForm1::onLayoutSelected() {}

void TForm1::onImageSelected() {}
