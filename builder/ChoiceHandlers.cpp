#include "app/TForm1.h"

#include "builder/ControlRules.h"
#include "builder/ControlWidgets.h"
#include "library/ConfigFiles.h"
#include "ui_TForm1.h"

namespace {

void ShowChoices(QListWidget *list, const ChoiceList &choices)
{
    ShowEntries(list, choices.entries);
    list->setCurrentRow(choices.selected);
}

// Stores the entry selected in `list` as the selected row's choice.
template <class Row>
bool StoreChoice(Table<Row> &table, std::string Row::*choice, const QListWidget *list)
{
    Row *row = table.Selected();
    if (!row || SelectedRow(list) < 0) return false;
    row->*choice = SelectedText(list);
    return true;
}

}  // namespace

void TForm1::ConnectChoiceHandlers()
{
    connect(ui->ListBox10, &ListBox::Click, this, &TForm1::onLayoutSelected);
    connect(ui->ListBox11, &ListBox::Click, this, &TForm1::ListBox11Click);
    connect(ui->ListBox6, &ListBox::Click, this, &TForm1::onImageSelected);
    connect(ui->ListBox7, &ListBox::Click, this, &TForm1::ListBox7Click);
}

void TForm1::onLayoutSelected()
{
    const int row = SelectRowOfTitle(lvLayouts, ui->ListBox10);
    if (row >= 0) lvLayoutsSelectItem(row);
}

void TForm1::lvLayoutsSelectItem(int row)
{
    if (row < 0 || row >= int(lvLayouts.rows.size())) return;
    const LayoutRow &layout = lvLayouts.rows[row];
    StringList options;
    if (const auto folder = PathInTemplate(TemplateDir, layout.folder)) ListFilesNoExt(options, *folder, "*.lyo");
    ShowChoices(ui->ListBox11, ListWithChoice(options, layout.option));
}

void TForm1::ListBox11Click()
{
    if (StoreChoice(lvLayouts, &LayoutRow::option, ui->ListBox11)) Rebuildtemplate();
}

void TForm1::onImageSelected()
{
    const int row = SelectRowOfTitle(lvImages, ui->ListBox6);
    if (row >= 0) lvImagesSelectItem(row);
}

void TForm1::lvImagesSelectItem(int row)
{
    if (row < 0 || row >= int(lvImages.rows.size())) return;
    const ImageRow &image = lvImages.rows[row];
    ChoiceList candidates;
    {
        platform::PaintingPause pause(this);
        ui->ListBox7->clear();
        StringList entries;
        if (const auto folder = PathInTemplate(TemplateDir, image.folder)) ListFiles(entries, *folder, "*.*");
        candidates = ListWithChoice(WithoutNonChoices(entries), image.fileName);
        ShowEntries(ui->ListBox7, candidates.entries);
    }
    ui->ListBox7->setCurrentRow(candidates.selected);
}

void TForm1::ListBox7Click()
{
    if (StoreChoice(lvImages, &ImageRow::fileName, ui->ListBox7)) Rebuildtemplate();
}
