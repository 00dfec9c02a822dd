#pragma once

#include "app/Helpers.h"
#include "app/Rows.h"
#include "builder/CodeBuffer.h"
#include "library/ConfigFiles.h"
#include "library/XmlDocument.h"
#include "platform/HeldFile.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace Ui {
class TForm1;
}
class QsciScintilla;
class QTabWidget;
class QComboBox;
class QColorDialog;
class DriveBox;
class DirectoryList;
class FileListBox;

// The main window. Its handlers are defined in the folder of the subsystem
// they belong to.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // `appDir` is the program folder; by default the folder of the executable.
    explicit TForm1(const std::string &appDir = {}, QWidget *parent = nullptr);
    ~TForm1() override;

    Ui::TForm1 *Ui() const { return ui.get(); }
    const std::string &ProgramFolder() const { return AppDir; }
    QsciScintilla *HtmlView() const { return SynEditHTML; }
    QsciScintilla *CssView() const { return SynEditCSS; }
    DriveBox *DriveChooser() const { return shlcb; }
    DirectoryList *FolderChooser() const { return shl1; }
    FileListBox *FileChooser() const { return shlfl; }

    // Font value lists of the font boxes.
    StringList FontFamilies, FontSizes, FontUnits, FontWeights, FontStyles, TextDecorations;

    // main window frame (app/)
    void BitBtn13Click();

    // template catalogue (library/)
    void Reload_template_list();
    void ListView1SelectItem(int row, bool selected);
    void ListView1Click();
    const std::string &SelectedTemplateTitle() const { return TemplateTitle; }

    // opening a template and its configuration files (library/)
    void RecalculateTemplate();
    void GetImageSettings();
    void LoadStyleSheets();
    void LoadImages();
    void LodaLayouts();
    void LoadColors();
    void LoadFonts();
    void Button6Click();
    void Button14Click();
    void Button17Click();
    void Button7Click();

    // the open template's state
    const std::string &TemplateFolder() const { return TemplateDir; }
    const TemplateNames &Names() const { return names; }
    const CodeBuffer &WorkingPage() const { return OriginalHTML; }
    const std::vector<StylesheetRow> &StyleSheets() const { return lvStylesheets; }
    Table<ImageRow> &ImageTable() { return lvImages; }
    Table<LayoutRow> &LayoutTable() { return lvLayouts; }
    Table<FontRow> &FontTable() { return lv; }
    Table<ColorRow> &ColorTable() { return colors; }
    CodeBuffer &HtmlBuffer() { return htmlBuffer; }

    // preview (builder/)
    void Rebuildtemplate();

    // site generation, code views and export (builder/)
    void ShellTreeViewChange();
    void JvFileListBox1Change();
    void PageControl1Change();
    void GenerateTemplate();
    void CheckBox2KeyPress();
    void BitBtn15Click();
    void Button19Click();
    void BitBtn21Click();
    void ExportTemplate();
    void CheckBox1Click();
    void PageControl2Change(int index);

    // colour, font, layout and image controls (builder/)
    void ListBox2Click();
    void onFontSelected();
    void onLayoutSelected();
    void onImageSelected();
    void LabeledEdit1Change();
    void ColorListBox1Click();
    void ListBox2DblClick();
    void Button2Click();
    void Button1Click();
    void lvSelectItem(int row);
    void ComboBox1DropDown(QComboBox *box);
    void ComboBox1Select();
    void ComboBox2Select();
    void ComboBox3Select();
    void ComboBox4Select();
    void ComboBox5Select();
    void ComboBox6Select();
    void Button10Click();
    void lvLayoutsSelectItem(int row);
    void ListBox11Click();
    void lvImagesSelectItem(int row);
    void ListBox7Click();

    // presets (library/)
    void Button4Click();
    void Button15Click();
    void Button22Click();
    void ListBox4Click();
    void Button18Click();
    void ListBox14DblClick();
    void Button5Click();
    void Button16Click();
    void Button21Click();

    // image tools: editor hand-over, image browser, image file commands (imaging/)
    void BitBtn18Click();
    void ListBox6DblClick();
    void Button8Click();
    void Button8MouseDown(Qt::MouseButton button);

    // help window, web links and version check (help/)
    void HelpRequested(QObject *sender);
    void BitBtn14Click();
    void ContactUs1Click();
    void VisittheForum1Click();
    void Quorlincom1Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void FormClose();
    void CreateFolderChooser();
    void CreateCodeViews();
    void FillFontLists();
    void HideTemplatePages();
    void DeleteLeftoverFiles();
    void ConnectFrameHandlers();
    void ConnectCatalogueHandlers();
    std::optional<std::vector<TemplateEntry>> WriteAndReadCatalogue(const std::vector<TemplateEntry> &entries);
    void ConnectConfigHandlers();
    static void ShowPage(QTabWidget *pages, QWidget *page, bool shown);
    std::function<void(bool)> ShowsTab(QWidget *tab);
    void OpenTemplateFiles();
    void DeleteOldPreview();
    // The style sheets outside the template's folder are skipped and returned.
    StringList InlineStyleSheets();

    // preview: the option files outside the template's folder are skipped and returned
    StringList RebuildPreview();
    static void ReportSkippedEntries(const StringList &skipped);

    // site generation, code views and export
    void ConnectExportHandlers();
    void ConnectGenerationHandlers();
    void InstallStripedLists();
    void LoadCodeViews(const std::string &page, const std::string &styleSheet);
    // What the preview file and the output folder must keep off: the style
    // sheets', these layout and image rows' files and folders, and the static entries.
    StringList PathsInUse(const std::vector<LayoutRow> &layouts, const std::vector<ImageRow> &images) const;
    void CopyOutputFolderTo(const std::string &target);
    void SetChooserVisible(bool visible);

    // colour, font, layout and image controls
    void ConnectColorHandlers();
    void ConnectFontHandlers();
    void ConnectChoiceHandlers();
    void FillColorPicker();
    void SetCustomColor(TColor color);
    void CustomColorEnter();
    void StoreColor(const std::string &value);
    void StoreFontValue(QComboBox *box, std::string FontRow::*field);

    // presets
    void ConnectPresetHandlers();

    // image tools
    void ConnectEditorHandlers();
    void ConnectBrowserHandlers();

    // help, web links and version check
    void ConnectHelpHandlers();

    std::unique_ptr<Ui::TForm1> ui;
    std::string AppDir;
    std::string InfoHtml;
    std::string TemplateTitle;
    XmlDocument XMLDoc;
    // The catalogue file this window wrote: closing deletes that one only.
    platform::HeldFile catalogueFile;

    std::string TemplateDir;
    TemplateNames names;
    CodeBuffer OriginalHTML;
    std::vector<StylesheetRow> lvStylesheets;
    Table<ImageRow> lvImages;
    Table<LayoutRow> lvLayouts;
    Table<FontRow> lv;
    Table<ColorRow> colors;
    CodeBuffer htmlBuffer;
    CodeBuffer cssBuffer;
    QsciScintilla *SynEditHTML = nullptr;
    QsciScintilla *SynEditCSS = nullptr;
    DriveBox *shlcb = nullptr;
    DirectoryList *shl1 = nullptr;
    FileListBox *shlfl = nullptr;

    // colour dialog and the colour last chosen in it
    QColorDialog *ColorDialog1 = nullptr;
    TColor ColorDialog1Color = 0;
};
