#include "app/TForm1.h"

#include "platform/Browser.h"
#include "platform/MessageBoxes.h"
#include "platform/Painting.h"
#include "ui_TForm1.h"

#include <filesystem>

void TForm1::RecalculateTemplate()
{
    platform::PaintingPause pause(this);
    try {
        OpenTemplateFiles();
    } catch (const std::exception &) {
        platform::ShowError("Error: Cannot Load Template Settings. You may need to reinstall Quorlin.");
    }
}

void TForm1::OpenTemplateFiles()
{
    TemplateDir = AppDir + ui->TemplateRoot->text().toStdString();
    htmlBuffer.Clear();
    htmlBuffer.LoadFromFile(TemplateDir + "/index.html");
    LoadStyleSheets();
    GetImageSettings();
    std::filesystem::remove(TemplateDir + "/" + names.TempFile);
    InlineStyleSheets();
    OriginalHTML.SetLines(htmlBuffer);
    LodaLayouts();
    LoadColors();
    LoadFonts();
    LoadImages();
    ShowPage(ui->PageControl1, ui->TabSheet2, true);
    ShowPage(ui->PageControl1, ui->TabSheet3, true);
    ui->PageControl1->blockSignals(true);
    ui->PageControl2->blockSignals(true);
    ui->PageControl1->setCurrentWidget(ui->TabSheet2);
    ui->PageControl2->setCurrentIndex(0);
    ui->PageControl1->blockSignals(false);
    ui->PageControl2->blockSignals(false);
    ui->PageControl2->setFixedHeight(207);
    Rebuildtemplate();
    platform::Navigate(ui->WebBrowser2, QString::fromStdString(TemplateDir + "/template_info.html"));
    setWindowTitle(QString::fromStdString("Quorlin -- " + TemplateTitle));
}

void TForm1::InlineStyleSheets()
{
    cssBuffer.Clear();
    for (const StylesheetRow &row : lvStylesheets) {
        cssBuffer.LoadFromFile(TemplateDir + "/" + FilePath(row.folder + row.fileName));
        htmlBuffer.MoveToStart();
        htmlBuffer.SubstituteText(row.variable, StyleElement(row.media, cssBuffer.Text()), SubstituteMode::FirstMatch);
    }
}

void TForm1::GetImageSettings() { names = ReadTemplateNames(XMLDoc, TemplateDir); }

