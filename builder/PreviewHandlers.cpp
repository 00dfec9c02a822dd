#include "app/TForm1.h"

#include "builder/Substitution.h"
#include "platform/Browser.h"
#include "platform/Painting.h"
#include "ui_TForm1.h"

void TForm1::Rebuildtemplate()
{
    platform::SetPainting(this, false);
    try {
        htmlBuffer.SetLines(OriginalHTML);
        SubstituteRowVariables(htmlBuffer, TemplateDir, {lvLayouts.rows, colors.rows, lv.rows, lvImages.rows});
        const std::string preview = TemplateDir + "/" + names.TempFile;
        htmlBuffer.SaveToFile(preview);
        platform::SetPainting(this, true);
        platform::Navigate(ui->WebBrowser1, QString::fromStdString(preview));
    } catch (...) {
        platform::SetPainting(this, true);
        throw;
    }
}
