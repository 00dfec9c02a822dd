#include "app/TForm1.h"

#include "builder/Substitution.h"
#include "platform/Browser.h"
#include "platform/Painting.h"
#include "ui_TForm1.h"

void TForm1::Rebuildtemplate()
{
    const std::string preview = TemplateDir + "/" + names.TempFile;
    {
        platform::PaintingPause pause(this);
        htmlBuffer.SetLines(OriginalHTML);
        SubstituteRowVariables(htmlBuffer, TemplateDir, {lvLayouts.rows, colors.rows, lv.rows, lvImages.rows});
        htmlBuffer.SaveToFile(preview);
    }
    platform::Navigate(ui->WebBrowser1, QString::fromStdString(preview));
}
