#include "app/TForm1.h"

#include "platform/FolderChooser.h"
#include "ui_TForm1.h"

void TForm1::ShellTreeViewChange() { ui->Edit2->setText(shl1->Directory()); }

void TForm1::JvFileListBox1Change() {}

void TForm1::ConnectExportHandlers() {}
