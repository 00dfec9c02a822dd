#include "app/TForm1.h"
#include "app/Windows.h"
#include "builder/ControlWidgets.h"
#include "imaging/ImageFileNames.h"
#include "imaging/TForm10.h"
#include "platform/MessageBoxes.h"

#include "ui_TForm1.h"

void TForm1::ConnectEditorHandlers()
{
    connect(ui->BitBtn18, &QPushButton::clicked, this, &TForm1::BitBtn18Click);
}

// "Tweak": makes the chosen candidate the row's file and edits it.
void TForm1::BitBtn18Click()
{
    ImageRow *row = lvImages.Selected();
    const int candidate = SelectedRow(ui->ListBox7);
    if (!row || candidate < 0) return;
    row->fileName = EntryName(ui->ListBox7->item(candidate));
    Form10->setWindowTitle(platform::FileNameToText(row->folder + row->fileName));
    if (!HasJpegExtension(row->fileName)) {
        platform::ShowMessage(QStringLiteral("This editor currently supports only JPEG images."));
        return;
    }
    Form10->exec();
}
