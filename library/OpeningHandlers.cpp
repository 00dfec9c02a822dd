#include "app/TForm1.h"

#include "app/PathSafety.h"
#include "platform/Browser.h"
#include "platform/FileNameText.h"
#include "platform/MessageBoxes.h"
#include "platform/Painting.h"
#include "ui_TForm1.h"

#include <filesystem>

namespace {

// The rows that "layouts.xml" and "images.xml" hold, read ahead of their tables.
void ReadOptionRows(XmlDocument &doc, const std::string &templateDir, std::vector<LayoutRow> &layouts,
                    std::vector<ImageRow> &images)
{
    const std::string layoutFile = templateDir + "/layouts.xml", imageFile = templateDir + "/images.xml";
    if (std::filesystem::exists(layoutFile)) ReadLayoutRows(doc, layoutFile, layouts);
    if (std::filesystem::exists(imageFile)) ReadImageRows(doc, imageFile, images);
}

// A hidden tab keeps its controls off the screen: the strip opens on the first tab shown.
int FirstShownTab(const QTabWidget *tabs)
{
    int index = 0;
    while (index + 1 < tabs->count() && !tabs->isTabVisible(index)) ++index;
    return index;
}

}  // namespace

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
    DeleteOldPreview();
    StringList skipped = InlineStyleSheets();
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
    ui->PageControl2->setCurrentIndex(FirstShownTab(ui->PageControl2));
    ui->PageControl1->blockSignals(false);
    ui->PageControl2->blockSignals(false);
    PageControl2Change(ui->PageControl2->currentIndex());
    const StringList skippedOptions = RebuildPreview();
    skipped.insert(skipped.end(), skippedOptions.begin(), skippedOptions.end());
    ReportSkippedEntries(skipped);
    platform::Navigate(ui->WebBrowser2, TemplateDir + "/template_info.html");
    setWindowTitle(QString::fromStdString("Quorlin -- " + TemplateTitle));
}

// The preview file of an earlier opening goes before anything can fail. Its
// name is first kept off every file that the tables are going to name.
void TForm1::DeleteOldPreview()
{
    std::vector<LayoutRow> layouts;
    std::vector<ImageRow> images;
    bool allRead = true;
    try {
        ReadOptionRows(XMLDoc, TemplateDir, layouts, images);
    } catch (const std::exception &) {
        allRead = false;
    }
    // Should a later read fail, the names must still spare the files known so far.
    KeepOffTemplateFiles(names, TemplateDir, PathsInUse(layouts, images));
    // What the unread rest names is not known; the readers meet that failure again.
    if (allRead) std::filesystem::remove(PreviewFilePath(TemplateDir, names));
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
