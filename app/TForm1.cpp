#include "app/TForm1.h"

#include "app/Pictures.h"
#include "app/TSplash.h"
#include "app/Windows.h"
#include "imaging/TForm10.h"
#include "platform/Browser.h"
#include "platform/FileNameText.h"
#include "platform/FolderChooser.h"
#include "platform/FolderLock.h"
#include "platform/MessageBoxes.h"
#include "ui_TForm1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>
#include <QWindow>
#include <Qsci/qscilexercss.h>
#include <Qsci/qscilexerhtml.h>
#include <Qsci/qsciscintilla.h>

#include <exception>

namespace {

const char *const kWelcomePage =
    "<html><head><style type=\"text/css\">.style1 {font-family: Verdana, Arial;font-size:16px;}"
    "</style></head><body><span class=\"style1\">Please, select template from the list above and "
    "click &quot;Customize&quot;...</span></body></html>";

std::string DefaultProgramFolder()
{
    return QCoreApplication::applicationDirPath().toStdString() + "/";
}

std::string WithTrailingSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

// Splash steps never fail the construction.
void StepSplash() noexcept
{
    try {
        if (Splash) Splash->StepIt();
    } catch (...) {
    }
}

QsciScintilla *CreateCodeView(QWidget *page, const char *name, QsciLexer *lexer)
{
    auto *view = new QsciScintilla(page);
    view->setObjectName(name);
    page->layout()->addWidget(view);
    const QFont fixedWidth = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    lexer->setFont(fixedWidth);
    view->setLexer(lexer);
    view->setMarginsFont(fixedWidth);
    view->setMarginType(0, QsciScintilla::NumberMargin);
    view->setMarginWidth(0, QStringLiteral("000000"));
    view->setMarginLineNumbers(0, true);
    view->setWrapMode(QsciScintilla::WrapNone);
    view->setReadOnly(false);
    view->clear();
    view->setVisible(true);
    return view;
}

}  // namespace

TForm1::TForm1(const std::string &appDir, QWidget *parent)
    : QMainWindow(parent),
      ui(new Ui::TForm1),
      AppDir(WithTrailingSlash(appDir.empty() ? DefaultProgramFolder() : appDir))
{
    platform::ConfineLocalFiles(AppDir);
    ui->setupUi(this);
    ui->Image2->setPixmap(LayoutPicture(ui->Image2->size()));
    ui->selectSplitter->setSizes({420, 260});
    for (int column = 0; column < 3; ++column) ui->ListView1->setColumnWidth(column, column == 0 ? 260 : 160);
    ConnectFrameHandlers();
    ConnectCatalogueHandlers();
    ConnectConfigHandlers();
    ConnectGenerationHandlers();
    ConnectExportHandlers();
    ConnectColorHandlers();
    ConnectFontHandlers();
    ConnectChoiceHandlers();
    ConnectPresetHandlers();
    ConnectEditorHandlers();
    ConnectBrowserHandlers();
    ConnectHelpHandlers();
    try {
        FormCreate();
    } catch (const std::exception &error) {
        platform::ReportUncaughtError(QString::fromUtf8(error.what()));
    }
}

TForm1::~TForm1() = default;

void TForm1::FormCreate()
{
    setWindowState(Qt::WindowMaximized);
    ui->PageControl1->setCurrentIndex(0);
    ui->PageControl2->setCurrentIndex(0);
    CreateFolderChooser();
    CreateCodeViews();
    FillFontLists();
    HideTemplatePages();
    DeleteLeftoverFiles();
    StepSplash();
    Reload_template_list();
    InfoHtml = kWelcomePage;
    LoadHtmlIntoBrowser(ui->WebBrowser3, InfoHtml);
}

void TForm1::CreateFolderChooser()
{
    shlcb = new DriveBox(ui->Panel8);
    shlcb->setObjectName("shlcb");
    ui->Panel8->layout()->addWidget(shlcb);
    StepSplash();

    shlfl = new FileListBox(ui->Panel7);
    shlfl->setObjectName("shlfl");
    ui->Panel7->layout()->addWidget(shlfl);
    connect(shlfl, &FileListBox::Change, this, &TForm1::JvFileListBox1Change);
    StepSplash();

    shl1 = new DirectoryList(ui->Panel8);
    shl1->setObjectName("shl1");
    ui->Panel8->layout()->addWidget(shl1);
    shl1->SetDriveBox(shlcb);
    shl1->SetFileList(shlfl);
    connect(shl1, &DirectoryList::DirectoryChanged, this, &TForm1::ShellTreeViewChange);
    shl1->SetDirectory(platform::FileNameToText(GetMyDocumentsFolder()));
    // Hidden during an export, the chooser keeps its room.
    for (QWidget *control : std::initializer_list<QWidget *>{shlcb, shl1, shlfl}) {
        QSizePolicy policy = control->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        control->setSizePolicy(policy);
    }
    StepSplash();
}

void TForm1::CreateCodeViews()
{
    SynEditHTML = CreateCodeView(ui->Original_Code, "SynEditHTML", new QsciLexerHTML(ui->Original_Code));
    StepSplash();
    SynEditCSS = CreateCodeView(ui->Converted_Code, "SynEditCSS", new QsciLexerCSS(ui->Original_Code));
    StepSplash();
}

void TForm1::FillFontLists()
{
    FontFamilies = {"Arial, Helvetica, sans-serif",       "Courier New, Courier, monospace",
                    "Geneva, Arial, Helvetica, sans-serif", "Georgia, Times New Roman, Times, serif",
                    "Times New Roman, Times, serif",       "Verdana, Arial, Helvetica, sans-serif"};
    FontSizes = {"9",       "10",     "12",    "14",     "18",      "24",       "36",      "72",     "xx-small",
                 "x-small", "small",  "medium", "large", "x-large", "xx-large", "smaller", "larger"};
    StepSplash();
    FontUnits = {"px", "%", "points", "cm", "in", "mm", "ems", "picas", "exs"};
    FontWeights = {"normal", "bold", "bolder", "lighter", "100", "200", "300",
                   "400",    "500",  "600",    "700",     "800", "900"};
    StepSplash();
    FontStyles = {"normal", "italic", "oblique"};
    TextDecorations = {"none",  "underline",          "overline",      "line-through",
                       "blink", "underline overline", "overline blink", "underline blink"};
}

void TForm1::HideTemplatePages()
{
    ShowPage(ui->PageControl1, ui->TabSheet2, false);
    ShowPage(ui->PageControl1, ui->TabSheet3, false);
}

// Showing a page runs no change handler. A tab bar that is not on screen lays
// its tabs out later, and forgets to when told again what it already shows.
void TForm1::ShowPage(QTabWidget *pages, QWidget *page, bool shown)
{
    const int index = pages->indexOf(page);
    if (pages->isTabVisible(index) == shown) return;
    const QSignalBlocker quiet(pages);
    pages->setTabVisible(index, shown);
}

// The catalogue file is not deleted: its build replaces it whole, and another
// program on this folder may be reading it.
void TForm1::DeleteLeftoverFiles()
{
    for (const char *name : {"temp.exe", "temp.tmp"}) {
        const QString path = QString::fromStdString(AppDir + name);
        if (QFile::exists(path)) QFile::remove(path);
    }
}

void TForm1::ConnectFrameHandlers()
{
    connect(ui->BitBtn13, &QPushButton::clicked, this, &TForm1::BitBtn13Click);
    connect(ui->Exit1, &QAction::triggered, this, &TForm1::BitBtn13Click);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &TForm1::BitBtn13Click);
}

// Another program on this folder may have written the catalogue file since.
void TForm1::FormClose()
{
    const platform::FolderLock lock(AppDir);
    catalogueFile.DeleteIfStillThere();
}

void TForm1::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

bool TForm1::event(QEvent *event)
{
    // The browser engine re-creates the native window before it is first
    // shown, and the new window does not take over the maximized state.
    if (event->type() == QEvent::Show && isMaximized() && windowHandle() &&
        !(windowHandle()->windowStates() & Qt::WindowMaximized))
        QTimer::singleShot(0, this, [this] {
            setWindowState(windowState() & ~Qt::WindowMaximized);
            setWindowState(windowState() | Qt::WindowMaximized);
        });
    return QMainWindow::event(event);
}

void TForm1::BitBtn13Click()
{
    try {
        if (!close()) return;
    } catch (const std::exception &) {
        platform::ShowMessage("Error Closing Application. Please try again later.");
        return;
    }
    // The image editor goes only once the close has succeeded.
    delete Form10;
    Form10 = nullptr;
}
