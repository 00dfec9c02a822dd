#include "app/TForm1.h"

void TForm1::ConnectHelpHandlers() {}

void TForm1::HelpRequested(QObject *) {}
