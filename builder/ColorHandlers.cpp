#include "app/TForm1.h"

#include "builder/ControlRules.h"
#include "builder/ControlWidgets.h"
#include "ui_TForm1.h"

#include <QColorDialog>
#include <QPainter>

namespace {

constexpr int kCustomEntry = 0;

QIcon Swatch(TColor color)
{
    QPixmap swatch(24, 14);
    swatch.fill(ToQColor(ShownColor(color)));
    QPainter frame(&swatch);
    frame.setPen(Qt::black);
    frame.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    return QIcon(swatch);
}

QListWidgetItem *PickerEntry(const char *name, TColor color)
{
    auto *entry = new QListWidgetItem(Swatch(color), QString::fromUtf8(name));
    entry->setData(Qt::UserRole, color);
    return entry;
}

TColor EntryColor(const QListWidget *picker, int row) { return picker->item(row)->data(Qt::UserRole).toInt(); }

ColorRow *SelectedColorRow(Table<ColorRow> &colors, const QListWidget *titles)
{
    colors.selected = SelectedRow(titles);
    return colors.Selected();
}

}  // namespace

void TForm1::ConnectColorHandlers()
{
    FillColorPicker();
    ColorDialog1 = new QColorDialog(this);
    ColorDialog1->setOption(QColorDialog::DontUseNativeDialog);
    connect(ui->ListBox2, &ListBox::Click, this, &TForm1::ListBox2Click);
    connect(ui->ListBox2, &QListWidget::itemDoubleClicked, this, &TForm1::ListBox2DblClick);
    connect(ui->BitBtn6, &QPushButton::clicked, this, &TForm1::ListBox2DblClick);
    connect(ui->ColorListBox1, &ListBox::Click, this, &TForm1::ColorListBox1Click);
    connect(ui->LabeledEdit1, &QLineEdit::textChanged, this, &TForm1::LabeledEdit1Change);
    connect(ui->LabeledEdit1, &QLineEdit::returnPressed, this, &TForm1::Button2Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(ui->Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    new EnterKeyFilter(ui->ColorListBox1, [this] { CustomColorEnter(); });
}

void TForm1::FillColorPicker()
{
    ui->ColorListBox1->clear();
    ui->ColorListBox1->addItem(PickerEntry("Custom...", 0));
    for (const NamedColor &named : NamedColors()) ui->ColorListBox1->addItem(PickerEntry(named.name, named.color));
}

void TForm1::SetCustomColor(TColor color)
{
    QListWidgetItem *custom = ui->ColorListBox1->item(kCustomEntry);
    custom->setData(Qt::UserRole, color);
    custom->setIcon(Swatch(color));
}

void TForm1::ListBox2Click()
{
    if (const ColorRow *row = SelectedColorRow(colors, ui->ListBox2))
        ui->LabeledEdit1->setText(QString::fromStdString(row->value));
}

void TForm1::LabeledEdit1Change()
{
    const TColor color = HtmlToColor(ui->LabeledEdit1->text().toStdString());
    const int named = NamedColorIndex(color);
    if (named < 0) SetCustomColor(color);
    ui->ColorListBox1->setCurrentRow(named < 0 ? kCustomEntry : named + 1);
}

void TForm1::StoreColor(const std::string &value)
{
    ColorRow *row = SelectedColorRow(colors, ui->ListBox2);
    if (!row) return;
    row->value = value;
    const QString text = QString::fromStdString(value);
    // The picker follows the value also when the box shows it already (no change of text).
    if (ui->LabeledEdit1->text() == text)
        LabeledEdit1Change();
    else
        ui->LabeledEdit1->setText(text);
    Rebuildtemplate();
}

void TForm1::ColorListBox1Click()
{
    const int entry = SelectedRow(ui->ColorListBox1);
    if (entry < 0) return;
    StoreColor(ColorToHtml(EntryColor(ui->ColorListBox1, entry)));
}

void TForm1::ListBox2DblClick()
{
    if (!SelectedColorRow(colors, ui->ListBox2)) return;
    ColorDialog1->setCurrentColor(ToQColor(ColorDialog1Color));
    if (ColorDialog1->exec() != QDialog::Accepted) return;
    ColorDialog1Color = ToTColor(ColorDialog1->selectedColor());
    StoreColor(ColorToHtml(ColorDialog1Color));
}

void TForm1::CustomColorEnter()
{
    if (SelectedRow(ui->ColorListBox1) != kCustomEntry) return;
    const QColor custom = ToQColor(ShownColor(EntryColor(ui->ColorListBox1, kCustomEntry)));
    QColorDialog dialog(custom, this);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    QColorDialog::setCustomColor(0, custom);
    if (dialog.exec() != QDialog::Accepted) return;
    SetCustomColor(ToTColor(dialog.selectedColor()));
    ColorListBox1Click();
}

void TForm1::Button2Click()
{
    ColorRow *row = SelectedColorRow(colors, ui->ListBox2);
    if (!row) return;
    row->value = ui->LabeledEdit1->text().toStdString();
    Rebuildtemplate();
}

void TForm1::Button1Click() { StoreColor("transparent"); }
