#include "app/TForm1.h"

#include "app/PathSafety.h"
#include "platform/Browser.h"
#include "platform/FileNameText.h"
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
    TemplateDir = AppDir + platform::FileNameFromText(ui->TemplateRoot->text());
    RefuseFilesLeadingOut(TemplateDir);
    htmlBuffer.Clear();
    htmlBuffer.LoadFromFile(TemplateDir + "/index.html");
    LoadStyleSheets();
    GetImageSettings();
    // Should a later read fail, the names must still spare the files known so far.
    KeepOffTemplateFiles(names, TemplateDir, PathsInTables(lvStylesheets, {}, {}));
    StringList skipped = InlineStyleSheets();
    OriginalHTML.SetLines(htmlBuffer);
    LodaLayouts();
    LoadColors();
    LoadFonts();
    LoadImages();
    KeepOffTemplateFiles(names, TemplateDir, PathsInUse());
    std::filesystem::remove(PreviewFilePath(TemplateDir, names));
    ShowPage(ui->PageControl1, ui->TabSheet2, true);
    ShowPage(ui->PageControl1, ui->TabSheet3, true);
    ui->PageControl1->blockSignals(true);
    ui->PageControl2->blockSignals(true);
    ui->PageControl1->setCurrentWidget(ui->TabSheet2);
    ui->PageControl2->setCurrentIndex(0);
    ui->PageControl1->blockSignals(false);
    ui->PageControl2->blockSignals(false);
    ui->PageControl2->setFixedHeight(207);
    const StringList skippedOptions = RebuildPreview();
    skipped.insert(skipped.end(), skippedOptions.begin(), skippedOptions.end());
    ReportSkippedEntries(skipped);
    platform::Navigate(ui->WebBrowser2, TemplateDir + "/template_info.html");
    setWindowTitle(QString::fromStdString("Quorlin -- " + TemplateTitle));
}

StringList TForm1::InlineStyleSheets()
{
    StringList outside;
    cssBuffer.Clear();
    for (const StylesheetRow &row : lvStylesheets) {
        const std::string path = FilePath(row.folder + row.fileName);
        if (path.empty()) continue;  // a row without a file names nothing to skip
        if (!LiesBelow(TemplateDir, path)) {
            outside.push_back(path);
            continue;
        }
        cssBuffer.LoadFromFile(TemplateDir + "/" + path);
        htmlBuffer.MoveToStart();
        htmlBuffer.SubstituteText(row.variable, StyleElement(row.media, cssBuffer.Text()), SubstituteMode::FirstMatch);
    }
    return outside;
}

void TForm1::GetImageSettings()
{
    // A settings file that fails to read leaves the default names.
    names = DefaultTemplateNames();
    names = ReadTemplateNames(XMLDoc, TemplateDir);
}
