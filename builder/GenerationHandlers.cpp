#include "app/TForm1.h"

#include "builder/CodeBuffer.h"
#include "builder/Generation.h"
#include "platform/FileNameText.h"
#include "platform/MessageBoxes.h"
#include "platform/Painting.h"
#include "ui_TForm1.h"

#include <QKeyEvent>
#include <Qsci/qsciscintilla.h>

#include <filesystem>
#include <functional>

namespace {

// Runs an action for every character key typed into the watched widgets and
// lets the widgets handle the key as usual. Tab types nothing: it moves the focus.
class CharacterKeyWatcher : public QObject {
public:
    CharacterKeyWatcher(std::function<void()> action_, QObject *parent) : QObject(parent), action(std::move(action_)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && TypesCharacter(*static_cast<QKeyEvent *>(event))) action();
        return QObject::eventFilter(watched, event);
    }

private:
    static bool TypesCharacter(const QKeyEvent &key)
    {
        return !key.text().isEmpty() && key.key() != Qt::Key_Tab && key.key() != Qt::Key_Backtab;
    }

    std::function<void()> action;
};

void ShowBuffer(QsciScintilla *view, const CodeBuffer &buffer)
{
    // The byte copy is gone before the view makes its own.
    const QString text = QString::fromStdString(buffer.Text());
    view->setText(text);
}

}  // namespace

void TForm1::ConnectGenerationHandlers()
{
    connect(ui->PageControl1, &QTabWidget::currentChanged, this, &TForm1::PageControl1Change);
    auto *keys = new CharacterKeyWatcher([this] { CheckBox2KeyPress(); }, this);
    for (QCheckBox *box : {ui->CheckBox2, ui->CheckBox3}) {
        connect(box, &QCheckBox::clicked, this, &TForm1::GenerateTemplate);
        box->installEventFilter(keys);
    }
}

void TForm1::PageControl1Change()
{
    if (ui->PageControl1->currentWidget() != ui->TabSheet3) return;
    repaint();
    platform::PaintingPause pause(this);
    SynEditHTML->clear();
    SynEditCSS->clear();
    cssBuffer.Clear();
    ui->PageControl4->setCurrentIndex(0);
    GenerateTemplate();
}

void TForm1::CheckBox2KeyPress() { GenerateTemplate(); }

void TForm1::GenerateTemplate()
{
    ui->ListBox13->clear();
    // A preset or a choice may have moved a row into the output folder since the opening.
    KeepOffTemplateFiles(names, TemplateDir, PathsInUse(lvLayouts.rows, lvImages.rows));
    const SiteSources sources{TemplateDir, names, lvStylesheets, {lvLayouts.rows, colors.rows, lv.rows, lvImages.rows}};
    SiteGenerator site(sources, htmlBuffer, this, [this](const std::string &file) {
        ui->ListBox13->addItem(platform::FileNameToText(file));
    });
    try {
        if (site.WriteSite()) {
            LoadCodeViews(site.GeneratedPage(), site.LastStyleSheet());
            site.FinishSite({ui->CheckBox2->isChecked(), ui->CheckBox3->isChecked()});
        }
    } catch (const PageTooLarge &error) {
        platform::ShowError(error.what());
        return;
    } catch (...) {
        ReportSkippedEntries(site.Skipped());
        throw;
    }
    ReportSkippedEntries(site.Skipped());
}

StringList TForm1::PathsInUse(const std::vector<LayoutRow> &layouts, const std::vector<ImageRow> &images) const
{
    StringList paths = PathsInTables(lvStylesheets, layouts, images);
    const std::string listPath = TemplateDir + "/static_files.qrl";
    try {
        if (std::filesystem::exists(listPath))
            for (const std::string &line : ReadStaticFileList(listPath)) paths.push_back(StaticEntry(line));
    } catch (const std::exception &) {
        // The generation reports an unreadable list.
    }
    return paths;
}

void TForm1::LoadCodeViews(const std::string &page, const std::string &styleSheet)
{
    htmlBuffer.LoadFromFile(page);
    ShowBuffer(SynEditHTML, htmlBuffer);
    if (styleSheet.empty()) return;
    cssBuffer.LoadFromFile(styleSheet);
    ShowBuffer(SynEditCSS, cssBuffer);
}
