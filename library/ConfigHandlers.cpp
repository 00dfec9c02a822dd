#include "app/TForm1.h"

#include "library/PresetList.h"
#include "library/Presets.h"
#include "platform/MessageBoxes.h"
#include "platform/Painting.h"
#include "ui_TForm1.h"

#include <filesystem>

namespace {

bool FileExists(const std::string &path) { return std::filesystem::exists(path); }

template <class Row>
void ShowTitles(QListWidget *list, const std::vector<Row> &rows)
{
    for (const Row &row : rows) list->addItem(QString::fromStdString(row.title));
}

}  // namespace

void TForm1::ConnectConfigHandlers()
{
    connect(ui->BitBtn10, &QPushButton::clicked, this, &TForm1::RecalculateTemplate);
    connect(ui->Button6, &QPushButton::clicked, this, &TForm1::Button6Click);
    connect(ui->Button14, &QPushButton::clicked, this, &TForm1::Button14Click);
    connect(ui->Button17, &QPushButton::clicked, this, &TForm1::Button17Click);
    connect(ui->Button7, &QPushButton::clicked, this, &TForm1::Button7Click);
}

void TForm1::LoadStyleSheets()
{
    lvStylesheets.clear();
    const std::string path = TemplateDir + "/style_files.xml";
    if (!FileExists(path)) {
        platform::ShowMessage("Missing configuration file (\"style_files.xml\")");
        return;
    }
    lvStylesheets = ReadStylesheetRows(XMLDoc, path);
}

void TForm1::LoadImages()
{
    lvImages.Clear();
    ui->ListBox6->clear();
    ui->ListBox7->clear();
    const std::string path = TemplateDir + "/images.xml";
    const bool present = FileExists(path);
    ShowPage(ui->PageControl2, ui->TabSheet6, present);
    if (!present) return;
    lvImages.rows = ReadImageRows(XMLDoc, path);
    ShowTitles(ui->ListBox6, lvImages.rows);
    FillPresetList(ui->ListBox8, PresetFolder(TemplateDir, names.PresetRoot, PresetFormat<ImageRow>::kind));
}

void TForm1::LodaLayouts()
{
    lvLayouts.Clear();
    ui->ListBox10->clear();
    ui->ListBox11->clear();
    const std::string path = TemplateDir + "/layouts.xml";
    const bool present = FileExists(path);
    ShowPage(ui->PageControl2, ui->TabSheet7, present);
    if (!present) return;
    lvLayouts.rows = ReadLayoutRows(XMLDoc, path);
    ShowTitles(ui->ListBox10, lvLayouts.rows);
    FillPresetList(ui->ListBox14, PresetFolder(TemplateDir, names.PresetRoot, PresetFormat<LayoutRow>::kind));
}

void TForm1::LoadColors()
{
    ui->ColorListBox1->setCurrentRow(-1);
    ui->LabeledEdit1->clear();
    colors.Clear();
    ui->ListBox2->clear();
    const std::string path = TemplateDir + "/colors.xml";
    const bool present = FileExists(path);
    ShowPage(ui->PageControl2, ui->TabSheet4, present);
    if (!present) return;
    colors.rows = ReadColorRows(XMLDoc, path);
    ShowTitles(ui->ListBox2, colors.rows);
    FillPresetList(ui->ListBox4, PresetFolder(TemplateDir, names.PresetRoot, PresetFormat<ColorRow>::kind));
}

void TForm1::LoadFonts()
{
    platform::SetPainting(this, false);
    lv.Clear();
    ui->ListBox5->clear();
    for (QComboBox *box : {ui->ComboBox1, ui->ComboBox2, ui->ComboBox3, ui->ComboBox4, ui->ComboBox5, ui->ComboBox6})
        box->setCurrentText({});
    const std::string path = TemplateDir + "/fonts.xml";
    const bool present = FileExists(path);
    ShowPage(ui->PageControl2, ui->TabSheet5, present);
    if (!present) return;
    lv.rows = ReadFontRows(XMLDoc, path);
    ShowTitles(ui->ListBox5, lv.rows);
    platform::SetPainting(this, true);
}

void TForm1::Button6Click()
{
    LoadColors();
    Rebuildtemplate();
}

void TForm1::Button14Click()
{
    LoadImages();
    Rebuildtemplate();
}

void TForm1::Button17Click()
{
    LodaLayouts();
    Rebuildtemplate();
}

void TForm1::Button7Click()
{
    LoadFonts();
    Rebuildtemplate();
}
