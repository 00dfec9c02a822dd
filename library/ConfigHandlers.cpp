#include "app/TForm1.h"

#include "library/PresetList.h"
#include "library/Presets.h"
#include "platform/MessageBoxes.h"
#include "platform/Painting.h"
#include "ui_TForm1.h"

#include <QScopeGuard>

#include <filesystem>

namespace {

bool FileExists(const std::string &path) { return std::filesystem::exists(path); }

template <class Row>
void ShowTitles(QListWidget *list, const std::vector<Row> &rows)
{
    for (const Row &row : rows) list->addItem(QString::fromStdString(row.title));
}

// Reads a configuration file into its table and title list; its tab shows
// only while the file exists. Returns whether it exists. The rows read before
// a failing item stay, with their titles.
template <class Row>
bool ReadTable(XmlDocument &doc, const std::string &path, const std::function<void(bool)> &showTab, Table<Row> &table,
               QListWidget *titles, void (*read)(XmlDocument &, const std::string &, std::vector<Row> &))
{
    table.Clear();
    titles->clear();
    const bool present = FileExists(path);
    showTab(present);
    if (present) {
        const auto showTitles = qScopeGuard([&] { ShowTitles(titles, table.rows); });
        read(doc, path, table.rows);
    }
    return present;
}

}  // namespace

std::function<void(bool)> TForm1::ShowsTab(QWidget *tab)
{
    return [this, tab](bool shown) { ShowPage(ui->PageControl2, tab, shown); };
}

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
    ReadStylesheetRows(XMLDoc, path, lvStylesheets);
}

void TForm1::LoadImages()
{
    ui->ListBox7->clear();
    if (ReadTable(XMLDoc, TemplateDir + "/images.xml", ShowsTab(ui->TabSheet6), lvImages, ui->ListBox6,
                  ReadImageRows))
        FillPresetList(ui->ListBox8, PresetFolder(TemplateDir, names.PresetRoot, PresetFormat<ImageRow>::kind));
}

void TForm1::LodaLayouts()
{
    ui->ListBox11->clear();
    if (ReadTable(XMLDoc, TemplateDir + "/layouts.xml", ShowsTab(ui->TabSheet7), lvLayouts, ui->ListBox10,
                  ReadLayoutRows))
        FillPresetList(ui->ListBox14, PresetFolder(TemplateDir, names.PresetRoot, PresetFormat<LayoutRow>::kind));
}

void TForm1::LoadColors()
{
    ui->ColorListBox1->setCurrentRow(-1);
    ui->LabeledEdit1->clear();
    if (ReadTable(XMLDoc, TemplateDir + "/colors.xml", ShowsTab(ui->TabSheet4), colors, ui->ListBox2,
                  ReadColorRows))
        FillPresetList(ui->ListBox4, PresetFolder(TemplateDir, names.PresetRoot, PresetFormat<ColorRow>::kind));
}

void TForm1::LoadFonts()
{
    platform::SetPainting(this, false);
    for (QComboBox *box : {ui->ComboBox1, ui->ComboBox2, ui->ComboBox3, ui->ComboBox4, ui->ComboBox5, ui->ComboBox6})
        box->setCurrentText({});
    // Without the file painting stays off: the rebuild that follows every read switches it on.
    try {
        if (ReadTable(XMLDoc, TemplateDir + "/fonts.xml", ShowsTab(ui->TabSheet5), lv, ui->ListBox5,
                      ReadFontRows))
            platform::SetPainting(this, true);
    } catch (...) {
        platform::SetPainting(this, true);
        throw;
    }
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
