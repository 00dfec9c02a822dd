#include "app/TForm1.h"

#include "builder/CodeBuffer.h"
#include "builder/Generation.h"
#include "builder/Substitution.h"
#include "platform/Browser.h"
#include "platform/MessageBoxes.h"
#include "platform/Painting.h"
#include "ui_TForm1.h"

void TForm1::Rebuildtemplate() { ReportSkippedEntries(RebuildPreview()); }

StringList TForm1::RebuildPreview()
{
    const std::string preview = PreviewFilePath(TemplateDir, names);
    // Nothing is painted while this runs, so painting needs no pause, whose end
    // would repaint the whole window; painting that an earlier step left off
    // comes back on here.
    platform::SetPainting(this, true);
    htmlBuffer.SetLines(OriginalHTML);
    StringList skipped;
    try {
        skipped =
            SubstituteRowVariables(htmlBuffer, TemplateDir, {lvLayouts.rows, colors.rows, lv.rows, lvImages.rows});
    } catch (const PageTooLarge &error) {
        // The template stays open: other values may still make a page.
        platform::ShowError(error.what());
        return {};
    }
    htmlBuffer.SaveToFile(preview);
    platform::Navigate(ui->WebBrowser1, preview);
    return skipped;
}

void TForm1::ReportSkippedEntries(const StringList &skipped)
{
    if (!skipped.empty()) platform::ShowMessage(QString::fromStdString(SkippedEntriesMessage(skipped)));
}
