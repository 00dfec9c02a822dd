#include "app/TForm1.h"

#include "builder/Generation.h"
#include "builder/StripedListDelegate.h"
#include "platform/FileNameText.h"
#include "platform/FolderChooser.h"
#include "platform/MessageBoxes.h"
#include "platform/Shell.h"
#include "ui_TForm1.h"

#include <QStyle>
#include <Qsci/qsciscintilla.h>

#include <filesystem>

namespace {

constexpr int kLargePreviewTab = 4;

}  // namespace

void TForm1::ConnectExportHandlers()
{
    ui->BitBtn7->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    connect(ui->BitBtn7, &QPushButton::clicked, this, &TForm1::ExportTemplate);
    connect(ui->BitBtn15, &QPushButton::clicked, this, &TForm1::BitBtn15Click);
    connect(ui->Button19, &QPushButton::clicked, this, &TForm1::Button19Click);
    connect(ui->BitBtn21, &QPushButton::clicked, this, &TForm1::BitBtn21Click);
    connect(ui->CheckBox1, &QCheckBox::clicked, this, &TForm1::CheckBox1Click);
    connect(ui->PageControl2, &QTabWidget::currentChanged, this, &TForm1::PageControl2Change);
    InstallStripedLists();
}

void TForm1::InstallStripedLists()
{
    for (ListBox *list : {ui->ListBox2, ui->ListBox5, ui->ListBox6, ui->ListBox10}) InstallStripedRows(list, 13, 16);
    InstallStripedRows(ui->ListBox13, 11, 13);
}

void TForm1::ShellTreeViewChange() { ui->Edit2->setText(shl1->Directory()); }

void TForm1::JvFileListBox1Change() {}

void TForm1::BitBtn15Click() { shl1->SetDirectory(platform::FileNameToText(GetMyDocumentsFolder())); }

void TForm1::Button19Click()
{
    const QString name = ui->LabeledEdit4->text();
    if (name.trimmed().isEmpty()) {
        platform::ShowMessage("Please, fill in the name for the new folder!");
        ui->LabeledEdit4->setFocus();
        return;
    }
    try {
        const std::string current = platform::FileNameFromText(shl1->Directory());
        if (std::filesystem::is_directory(current)) {
            const std::string folder = current + "/" + FilePath(name.toStdString());
            std::error_code error;
            std::filesystem::create_directories(folder, error);
            if (!std::filesystem::is_directory(folder))
                platform::ShowMessage("Error creating subfolder \"" + name + "\"");
            else if (shl1->SetDirectory(platform::FileNameToText(folder)))
                ui->LabeledEdit4->clear();
        }
    } catch (const std::exception &) {
        ui->LabeledEdit4->setFocus();
        ui->LabeledEdit4->selectAll();
    }
    shl1->update();
    shlfl->update();
}

void TForm1::BitBtn21Click() { platform::OpenWithDefaultHandler(platform::FileNameFromText(ui->Edit2->text())); }

void TForm1::ExportTemplate()
{
    if (ui->Edit2->text().trimmed().isEmpty()) {
        platform::ShowMessage("No target Folder Selected!");
        return;
    }
    const QString target = ui->Edit2->text();
    if (!FolderBounds(TemplateDir).Holds(names.TempFolder)) {
        platform::ShowMessage(QString::fromStdString(SkippedEntriesMessage({names.TempFolder})));
        return;
    }
    SetChooserVisible(false);
    CopyOutputFolderTo(platform::FileNameFromText(target));
    shl1->SetDirectory(target + "/" + platform::FileNameToText(names.TempFolder));
    shl1->SetDirectory(target);
    SetChooserVisible(true);
}

// The chooser stays hidden while the copy runs, but a question of the copy
// stands over the chooser showing the target.
void TForm1::CopyOutputFolderTo(const std::string &target)
{
    const platform::BoxWatch showChooser([this](bool boxShown) { SetChooserVisible(boxShown); });
    try {
        CopyFolderWithShell(TemplateDir + "/" + names.TempFolder, target);
    } catch (const std::exception &) {
        platform::ShowMessage("Error: Cannot Copy Files.");
    }
}

void TForm1::SetChooserVisible(bool visible)
{
    shlfl->setVisible(visible);
    shl1->setVisible(visible);
    shlcb->setVisible(visible);
}

void TForm1::CheckBox1Click()
{
    const auto mode = ui->CheckBox1->isChecked() ? QsciScintilla::WrapWord : QsciScintilla::WrapNone;
    SynEditHTML->setWrapMode(mode);
    SynEditCSS->setWrapMode(mode);
}

void TForm1::PageControl2Change(int index) { ui->PageControl2->setFixedHeight(index == kLargePreviewTab ? 30 : 207); }
