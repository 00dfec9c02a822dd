#include "app/TForm1.h"

#include "builder/ControlWidgets.h"
#include "library/PresetList.h"
#include "library/Presets.h"
#include "platform/ListBox.h"
#include "platform/MessageBoxes.h"
#include "ui_TForm1.h"

#include <QEvent>

#include <stdexcept>

namespace {

// Empties a name box that still shows the prompt when it gets the focus.
class PromptClearer : public QObject {
public:
    explicit PromptClearer(QLineEdit *box) : QObject(box), box_(box) { box->installEventFilter(this); }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn && box_->text() == kPresetPrompt) box_->clear();
        return false;
    }

private:
    QLineEdit *box_;
};

}  // namespace

void FillPresetList(QListWidget *list, const std::optional<std::string> &folder)
{
    StringList names;
    if (folder) ListFilesNoExt(names, *folder, "*.xml");
    ShowEntries(list, names);
}

namespace {

template <class Row>
std::optional<std::string> FolderOf(const std::string &templateDir, const TemplateNames &names)
{
    return PresetFolder(templateDir, names.PresetRoot, PresetFormat<Row>::kind);
}

QListWidgetItem *SelectedEntry(const QListWidget *list)
{
    const auto selected = list->selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

template <class Row>
void SaveFromBox(XmlDocument &doc, const std::string &templateDir, const std::string &presetRoot, QLineEdit *nameBox,
                 QListWidget *list, const std::vector<Row> &rows)
{
    const QString name = nameBox->text();
    const SaveOutcome outcome = SavePreset(doc, templateDir, presetRoot, name.toStdString(), rows);
    if (outcome != SaveOutcome::Saved) {
        platform::ShowMessage(SaveRefusal(outcome));
        return;
    }
    list->addItem(name);
    nameBox->clear();
}

// Applies the selected preset to the rows and re-reads the list from the
// folder; the list is left without a selection. A folder outside the
// template's holds no preset to read.
template <class Row>
void ApplySelected(XmlDocument &doc, const std::optional<std::string> &folder, QListWidget *list,
                   std::vector<Row> &rows)
{
    if (!folder) throw std::runtime_error("The preset folder lies outside the template's folder.");
    ApplyPreset(doc, PresetPath(*folder, EntryName(SelectedEntry(list))), rows);
    FillPresetList(list, folder);
    list->clearSelection();
}

void DeleteSelected(const std::optional<std::string> &folder, QListWidget *list)
{
    QListWidgetItem *entry = SelectedEntry(list);
    if (!entry) return;
    const QString question = "Are you sure you really want to delete the preset \"" + entry->text() + "\"?";
    if (platform::AskConfirmation(question) != platform::BoxAnswer::Yes) return;
    if (!folder || !DeletePresetFile(PresetPath(*folder, EntryName(entry)))) {
        platform::ShowMessage("Error: Cannot Delete Preset.");
        return;
    }
    delete entry;
    list->setCurrentRow(-1);
}

}  // namespace

void TForm1::ConnectPresetHandlers()
{
    connect(ui->Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
    connect(ui->LabeledEdit2, &QLineEdit::returnPressed, this, &TForm1::Button4Click);
    connect(ui->Button3, &QPushButton::clicked, this, &TForm1::ListBox4Click);
    connect(ui->ListBox4, &QListWidget::itemDoubleClicked, this, &TForm1::ListBox4Click);
    connect(ui->Button5, &QPushButton::clicked, this, &TForm1::Button5Click);

    connect(ui->Button15, &QPushButton::clicked, this, &TForm1::Button15Click);
    connect(ui->LabeledEdit3, &QLineEdit::returnPressed, this, &TForm1::Button15Click);
    connect(ui->Button18, &QPushButton::clicked, this, &TForm1::Button18Click);
    connect(ui->ListBox8, &QListWidget::itemDoubleClicked, this, &TForm1::Button18Click);
    connect(ui->Button16, &QPushButton::clicked, this, &TForm1::Button16Click);

    connect(ui->Button22, &QPushButton::clicked, this, &TForm1::Button22Click);
    connect(ui->LabeledEdit5, &QLineEdit::returnPressed, this, &TForm1::Button22Click);
    connect(ui->Button20, &QPushButton::clicked, this, &TForm1::ListBox14DblClick);
    connect(ui->ListBox14, &QListWidget::itemDoubleClicked, this, &TForm1::ListBox14DblClick);
    connect(ui->Button21, &QPushButton::clicked, this, &TForm1::Button21Click);

    for (QLineEdit *box : {ui->LabeledEdit2, ui->LabeledEdit3, ui->LabeledEdit5}) new PromptClearer(box);
}

void TForm1::Button4Click()
{
    SaveFromBox(XMLDoc, TemplateDir, names.PresetRoot, ui->LabeledEdit2, ui->ListBox4, colors.rows);
}

void TForm1::Button15Click()
{
    SaveFromBox(XMLDoc, TemplateDir, names.PresetRoot, ui->LabeledEdit3, ui->ListBox8, lvImages.rows);
}

void TForm1::Button22Click()
{
    SaveFromBox(XMLDoc, TemplateDir, names.PresetRoot, ui->LabeledEdit5, ui->ListBox14, lvLayouts.rows);
}

void TForm1::ListBox4Click()
{
    if (!SelectedEntry(ui->ListBox4)) return;
    ui->ColorListBox1->setCurrentRow(-1);
    ui->LabeledEdit1->clear();
    ApplySelected(XMLDoc, FolderOf<ColorRow>(TemplateDir, names), ui->ListBox4, colors.rows);
    ListBox2Click();
    Rebuildtemplate();
}

void TForm1::Button18Click()
{
    if (!SelectedEntry(ui->ListBox8)) return;
    ApplySelected(XMLDoc, FolderOf<ImageRow>(TemplateDir, names), ui->ListBox8, lvImages.rows);
    ui->ListBox7->clearSelection();
    onImageSelected();
    Rebuildtemplate();
}

void TForm1::ListBox14DblClick()
{
    if (!SelectedEntry(ui->ListBox14)) return;
    ApplySelected(XMLDoc, FolderOf<LayoutRow>(TemplateDir, names), ui->ListBox14, lvLayouts.rows);
    ui->ListBox11->clearSelection();
    onLayoutSelected();
    Rebuildtemplate();
}

void TForm1::Button5Click() { DeleteSelected(FolderOf<ColorRow>(TemplateDir, names), ui->ListBox4); }

void TForm1::Button16Click() { DeleteSelected(FolderOf<ImageRow>(TemplateDir, names), ui->ListBox8); }

void TForm1::Button21Click() { DeleteSelected(FolderOf<LayoutRow>(TemplateDir, names), ui->ListBox14); }
