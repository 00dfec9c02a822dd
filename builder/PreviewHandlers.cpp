#include "app/TForm1.h"

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
    StringList skipped;
    {
        platform::PaintingPause pause(this);
        htmlBuffer.SetLines(OriginalHTML);
        skipped = SubstituteRowVariables(htmlBuffer, TemplateDir, {lvLayouts.rows, colors.rows, lv.rows, lvImages.rows});
        htmlBuffer.SaveToFile(preview);
    }
    platform::Navigate(ui->WebBrowser1, preview);
    return skipped;
}

void TForm1::ReportSkippedEntries(const StringList &skipped)
{
    if (!skipped.empty()) platform::ShowMessage(QString::fromStdString(SkippedEntriesMessage(skipped)));
}
