#include "imaging/TForm20.h"

#include "app/PathSafety.h"
#include "app/TForm1.h"
#include "app/Windows.h"
#include "builder/ControlWidgets.h"
#include "imaging/ImageFileNames.h"
#include "imaging/JpegCodec.h"
#include "imaging/TForm10.h"
#include "library/ConfigFiles.h"
#include "platform/MessageBoxes.h"

#include "ui_TForm1.h"
#include "ui_TForm20.h"

#include <QShowEvent>
#include <QStyle>

#include <exception>

TForm20::TForm20(QWidget *parent) : QDialog(parent), ui(new Ui::TForm20)
{
    ui->setupUi(this);
    ui->BitBtn5->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    connect(ui->BitBtn5, &QPushButton::clicked, this, &TForm20::BitBtn5Click);
    connect(ui->BitBtn7, &QPushButton::clicked, this, &TForm20::BitBtn7Click);
}

TForm20::~TForm20() = default;

void TForm20::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

// The folder of the selected image row; nothing when it lies outside the
// template's folder.
std::optional<std::string> TForm20::ImageFolder() const
{
    const ImageRow *row = Form1->ImageTable().Selected();
    return PathInTemplate(Form1->TemplateFolder(), row ? row->folder : std::string());
}

void TForm20::FormShow()
{
    const std::string edited = SelectedText(Form1->Ui()->ListBox7);
    ui->LabeledEdit1->setText(platform::FileNameToText(ProposedCopyName(ImageFolder(), edited)));
}

void TForm20::BitBtn5Click()
{
    const int row = Form1->ImageTable().selected;
    const std::string name = JpegSaveName(platform::FileNameFromText(ui->LabeledEdit1->text()));
    ui->LabeledEdit1->setText(platform::FileNameToText(name));
    const std::optional<std::string> folder = ImageFolder();
    if (!folder)
        return RefuseName(QStringLiteral("The image folder lies outside the template's folder. Nothing was saved."));
    const std::string file = FilePath(name);
    if (!LiesBelow(*folder, file))
        return RefuseName(QStringLiteral("The name leads out of the image folder. Please, change the file name."));
    if (IsTakenName(*folder, file))
        return RefuseName(QStringLiteral("Such image already exists. Please, change the file name."));
    EncodeJpegFile(Form10->ViewImage(), *folder + file, 100);

    std::exception_ptr rereadError;
    try {
        Form1->Button14Click();
    } catch (...) {
        rereadError = std::current_exception();
    }
    SelectSavedImage(row, name);
    if (rereadError) std::rethrow_exception(rereadError);
}

void TForm20::RefuseName(const QString &reason)
{
    platform::ShowMessage(reason);
    ui->LabeledEdit1->selectAll();
    ui->LabeledEdit1->setFocus();
}

// Selects the row again and the saved file as its image, through the same
// handlers as a user's clicks; then closes this dialog and the editor.
void TForm20::SelectSavedImage(int row, const std::string &name)
{
    Ui::TForm1 *main = Form1->Ui();
    main->ListBox6->setCurrentRow(row);
    Form1->onImageSelected();
    QListWidgetItem *saved = FindEntry(main->ListBox7, name);
    if (!saved) return;
    main->ListBox7->setCurrentItem(saved);
    Form1->ListBox7Click();
    accept();
    Form10->accept();
}

void TForm20::BitBtn7Click() { reject(); }
