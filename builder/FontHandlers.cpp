#include "app/TForm1.h"

#include "builder/ControlRules.h"
#include "builder/ControlWidgets.h"
#include "ui_TForm1.h"

#include <tuple>
#include <utility>

void TForm1::ConnectFontHandlers()
{
    connect(ui->ListBox5, &ListBox::Click, this, &TForm1::onFontSelected);
    const std::pair<ComboBox *, void (TForm1::*)()> boxes[] = {
        {ui->ComboBox1, &TForm1::ComboBox1Select}, {ui->ComboBox2, &TForm1::ComboBox2Select},
        {ui->ComboBox3, &TForm1::ComboBox3Select}, {ui->ComboBox4, &TForm1::ComboBox4Select},
        {ui->ComboBox5, &TForm1::ComboBox5Select}, {ui->ComboBox6, &TForm1::ComboBox6Select},
    };
    for (const auto &[box, select] : boxes) {
        connect(box, &ComboBox::DropDown, this, [this, box] { ComboBox1DropDown(box); });
        connect(box, &QComboBox::activated, this, select);
        connect(box, &ComboBox::Enter, this, select);
    }
    ui->ComboBox1->SetOpensListOnTyping(true);
    connect(ui->Button9, &QPushButton::clicked, this, &TForm1::ComboBox1Select);
    connect(ui->Button10, &QPushButton::clicked, this, &TForm1::Button10Click);
    connect(ui->Button11, &QPushButton::clicked, this, &TForm1::ComboBox4Select);
    connect(ui->Button12, &QPushButton::clicked, this, &TForm1::ComboBox5Select);
    connect(ui->Button13, &QPushButton::clicked, this, &TForm1::ComboBox6Select);
}

void TForm1::onFontSelected()
{
    const int row = SelectRowOfTitle(lv, ui->ListBox5);
    if (row >= 0) lvSelectItem(row);
}

void TForm1::lvSelectItem(int row)
{
    if (row < 0 || row >= int(lv.rows.size())) return;
    const FontRow &font = lv.rows[row];
    const std::tuple<QComboBox *, const std::string &, const StringList &> boxes[] = {
        {ui->ComboBox1, font.family, FontFamilies}, {ui->ComboBox2, font.size, FontSizes},
        {ui->ComboBox3, font.unit, FontUnits},      {ui->ComboBox4, font.weight, FontWeights},
        {ui->ComboBox5, font.style, FontStyles},    {ui->ComboBox6, font.decoration, TextDecorations},
    };
    platform::PaintingPause pause(this);
    for (const auto &[box, value, values] : boxes) box->clear();
    for (const auto &[box, value, values] : boxes) {
        box->addItem(QString::fromStdString(value));
        for (const std::string &entry : values) box->addItem(QString::fromStdString(entry));
        box->setCurrentIndex(0);
    }
}

void TForm1::ComboBox1DropDown(QComboBox *box)
{
    StringList entries;
    for (int i = 0; i < box->count(); ++i) entries.push_back(box->itemText(i).toStdString());
    const QString text = box->currentText();
    box->clear();
    for (const std::string &entry : SortedWithoutDuplicates(entries)) box->addItem(QString::fromStdString(entry));
    box->setCurrentIndex(box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    box->setEditText(text);
}

void TForm1::StoreFontValue(QComboBox *box, std::string FontRow::*field)
{
    FontRow *row = lv.Selected();
    if (!row) return;
    row->*field = box->currentText().toStdString();
    Rebuildtemplate();
}

void TForm1::ComboBox1Select() { StoreFontValue(ui->ComboBox1, &FontRow::family); }

void TForm1::ComboBox2Select()
{
    FontRow *row = lv.Selected();
    if (!row) return;
    row->size = ui->ComboBox2->currentText().toStdString();
    if (!IsAllDigits(row->size)) {
        ui->ComboBox3->setEditText({});
        row->unit = ui->ComboBox3->currentText().toStdString();
    }
    Rebuildtemplate();
}

void TForm1::ComboBox3Select() { StoreFontValue(ui->ComboBox3, &FontRow::unit); }

void TForm1::ComboBox4Select() { StoreFontValue(ui->ComboBox4, &FontRow::weight); }

void TForm1::ComboBox5Select() { StoreFontValue(ui->ComboBox5, &FontRow::style); }

void TForm1::ComboBox6Select() { StoreFontValue(ui->ComboBox6, &FontRow::decoration); }

void TForm1::Button10Click()
{
    ComboBox2Select();
    ComboBox3Select();
}
