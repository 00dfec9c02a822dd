#include "imaging/TForm5.h"

#include "app/TForm1.h"
#include "app/Windows.h"
#include "imaging/ThumbnailViewer.h"
#include "ui_TForm5.h"

#include <QScreen>
#include <QShowEvent>
#include <QStyle>

#include <array>

TForm5::TForm5(QWidget *parent) : QDialog(parent), ui(new Ui::TForm5)
{
    ui->setupUi(this);
    FormCreate();
}

TForm5::~TForm5() = default;

void TForm5::FormCreate()
{
    ImageViewer = new ThumbnailViewer(ui->Panel1);
    ImageViewer->setObjectName(QStringLiteral("ImageViewer"));
    ui->Panel1->layout()->addWidget(ImageViewer);
    ui->ComboBox1->setCurrentIndex(1);
    connect(ImageViewer, &ThumbnailViewer::DblClick, this, &TForm5::BitBtn2Click);
    connect(ui->ComboBox1, &QComboBox::currentIndexChanged, this, &TForm5::ComboBox1Change);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &TForm5::BitBtn2Click);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->BitBtn9, &QPushButton::clicked, this, &TForm5::BitBtn9Click);
}

void TForm5::ComboBox1Change()
{
    static const std::array<QSize, 3> sizes{QSize(200, 50), QSize(400, 100), QSize(800, 200)};
    const int choice = ui->ComboBox1->currentIndex();
    if (choice >= 0 && choice < int(sizes.size())) ImageViewer->SetCellSize(sizes[choice]);
}

void TForm5::BitBtn2Click() { accept(); }

void TForm5::BitBtn9Click() { Form1->HelpRequested(ui->BitBtn9); }

void TForm5::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous()) return;  // restored from minimised
    if (const QScreen *desktop = screen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), desktop->availableGeometry()));
}
