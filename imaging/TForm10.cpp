#include "imaging/TForm10.h"

#include "app/TForm1.h"
#include "app/Windows.h"
#include "imaging/PixelFilters.h"
#include "imaging/TForm20.h"
#include "library/ConfigFiles.h"
#include "platform/FileNameText.h"
#include "platform/MessageBoxes.h"
#include "platform/Painting.h"

#include "ui_TForm10.h"

#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>

#include <filesystem>
#include <utility>

QSize EditorWindowSize(QSize image, QSize screen)
{
    const int width = screen.width() - 30 > image.width() ? image.width() + 30 : screen.width() - 30;
    const int height = screen.height() - 130 > image.height() ? image.height() + 130 : screen.height() - 50;
    return {std::max(width, 690), std::max(height, 350)};
}

TForm10::TForm10(QWidget *parent) : QDialog(parent), ui(new Ui::TForm10)
{
    ui->setupUi(this);
    ui->FormLayout->setMenuBar(ui->MainMenu1);
    ui->BitBtn5->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    // The dither item is not in the menu; its shortcut works on the window.
    addActions({ui->Exit1, ui->TP1});
    ConnectHandlers();
}

TForm10::~TForm10() = default;

void TForm10::ConnectHandlers()
{
    connect(ui->BitBtn3, &QPushButton::clicked, this, &TForm10::BitBtn3Click);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &TForm10::BitBtn2Click);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &TForm10::BitBtn1Click);
    connect(ui->BitBtn4, &QPushButton::clicked, this, &TForm10::Grayscale1Click);
    connect(ui->BitBtn6, &QPushButton::clicked, this, &TForm10::BitBtn6Click);
    connect(ui->BitBtn5, &QPushButton::clicked, this, &TForm10::BitBtn5Click);
    connect(ui->BitBtn7, &QPushButton::clicked, this, &TForm10::Exit1Click);
    connect(ui->Flip, &QAction::triggered, this, &TForm10::BitBtn3Click);
    connect(ui->FlipVertical1, &QAction::triggered, this, &TForm10::BitBtn2Click);
    connect(ui->InvertColors1, &QAction::triggered, this, &TForm10::BitBtn1Click);
    connect(ui->Grayscale1, &QAction::triggered, this, &TForm10::Grayscale1Click);
    connect(ui->RevertChangesloaddefault1, &QAction::triggered, this, &TForm10::BitBtn6Click);
    connect(ui->SaveClose1, &QAction::triggered, this, &TForm10::BitBtn5Click);
    connect(ui->Exit1, &QAction::triggered, this, &TForm10::Exit1Click);
    connect(ui->Help1, &QAction::triggered, this, &TForm10::Help1Click);
    connect(ui->TP1, &QAction::triggered, this, &TForm10::TP1Click);
    // Programmatic changes run these too, as a user's change would.
    for (QCheckBox *box : {ui->CheckBox1, ui->CheckBox2, ui->CheckBox3})
        connect(box, &QCheckBox::toggled, this, &TForm10::CheckBox1Click);
    connect(ui->ScrollBar1, &QScrollBar::valueChanged, this, &TForm10::ScrollBar1Change);
}

void TForm10::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TForm10::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    if (std::exchange(placeWhenPainted, false))
        QMetaObject::invokeMethod(this, &TForm10::PlaceOnScreen, Qt::QueuedConnection);
    RecomputeView();
}

void TForm10::FormShow()
{
    if (!LoadAndReset()) return;
    CenterOnScreen();
    // Until the window is first on screen its frame is not known; once it
    // paints, it is sized and centred again with the frame.
    placeWhenPainted = frameGeometry().size() == size();
}

void TForm10::PlaceOnScreen()
{
    FitWindow();
    CenterOnScreen();
}

void TForm10::BitBtn6Click() { LoadAndReset(); }

// Loads the file, sizes the window to it and resets the channel boxes and the
// brightness. Without a file, or with one that does not decode, the editor
// says so, closes and keeps what it held.
bool TForm10::LoadAndReset()
{
    const auto closeUnloaded = [this] {
        // Queued, as this may run while the modal loop is still starting.
        QMetaObject::invokeMethod(this, &TForm10::Exit1Click, Qt::QueuedConnection);
        return false;
    };
    try {
        if (!LoadEditedImage()) {
            platform::ShowMessage(QStringLiteral("Error: cannot load image!"));
            return closeUnloaded();
        }
    } catch (const std::runtime_error &error) {
        // The decoder's reason; the editor must not open on the picture it held before.
        platform::ReportUncaughtError(QString::fromUtf8(error.what()));
        return closeUnloaded();
    }
    FitWindow();
    platform::SetPainting(this, false);
    for (QCheckBox *box : {ui->CheckBox1, ui->CheckBox2, ui->CheckBox3})
        box->setChecked(true);
    ui->ScrollBar1->setValue(0);
    platform::SetPainting(this, true);
    RecomputeView();
    return true;
}

// Decodes the file into the base image; false when there is no such file
// in the template's folder.
bool TForm10::LoadEditedImage()
{
    const auto path = PathInTemplate(Form1->TemplateFolder(), platform::FileNameFromText(windowTitle()));
    if (!path || !std::filesystem::is_regular_file(*path)) return false;
    ViewBitmap = {}; // its memory goes before the decoder takes as much again
    SetImageBitmap(DecodeJpegFile(*path));
    return true;
}

// The old base image's memory serves the view, which is recomputed after
// every change of the base image.
void TForm10::SetImageBitmap(BgrImage image)
{
    ViewBitmap = std::exchange(ImageBitmap, std::move(image));
    BitmapChanged();
}

void TForm10::BitmapChanged()
{
    ui->Panel2->setGeometry(0, 20, ImageBitmap.width, ImageBitmap.height);
    ui->ClientArea->resize(ImageBitmap.width, 20 + ImageBitmap.height);
}

// Sizes the window, its frame included, by the picture and the screen.
void TForm10::FitWindow()
{
    const QSize frame = frameGeometry().size() - size();
    resize(EditorWindowSize(ui->Panel2->size(), QGuiApplication::primaryScreen()->size()) - frame);
}

void TForm10::CenterOnScreen()
{
    QRect frame = frameGeometry();
    frame.moveCenter(QGuiApplication::primaryScreen()->geometry().center());
    move(frame.topLeft());
}

void TForm10::FlipBitmap(bool vertical, bool horizontal, const BgrImage &source)
{
    SetImageBitmap(Flipped(source, vertical, horizontal, std::move(ViewBitmap)));
}

void TForm10::BitBtn2Click()
{
    FlipBitmap(true, false, ImageBitmap);
    RecomputeView();
}

void TForm10::BitBtn3Click()
{
    FlipBitmap(false, true, ImageBitmap);
    RecomputeView();
}

void TForm10::BitBtn1Click()
{
    SetImageBitmap(Inverted(ImageBitmap, std::move(ViewBitmap)));
    RecomputeView();
}

void TForm10::Grayscale1Click()
{
    SetImageBitmap(Grayscaled(ImageBitmap, std::move(ViewBitmap)));
    RecomputeView();
}

void TForm10::CheckBox1Click() { RecomputeView(); }

void TForm10::ScrollBar1Change() { RecomputeView(); }

// The channel mask and the brightness in one pass over the base image, into
// the view's own memory, which the image panel then shows.
void TForm10::RecomputeView()
{
    const int brightness = ui->ScrollBar1->value();
    ui->Label3->setText(QString::number(brightness));
    const Channels keep{ui->CheckBox1->isChecked(), ui->CheckBox2->isChecked(), ui->CheckBox3->isChecked()};
    ViewBitmap = MaskedAndBrightened(ImageBitmap, keep, brightness, std::move(ViewBitmap));
    ui->Panel2->Show(ViewBitmap);
}

void TForm10::TP1Click() { ui->Panel2->Show(ImageBitmap, true); }

void TForm10::BitBtn5Click() { Form20->exec(); }

void TForm10::Exit1Click() { reject(); }

void TForm10::Help1Click() { Form1->HelpRequested(ui->Help1); }
