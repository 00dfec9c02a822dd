#include "TemplateFixture.h"

#include <QApplication>
#include <QColorDialog>
#include <QTimer>

namespace {

class ColorControlsTest : public TemplateFixture {
protected:
    void SetUp() override
    {
        InstallSample("meadowlark");
        OpenShown("meadowlark");
    }
    const std::string &Value(int row) { return Window().ColorTable().rows[row].value; }

    void Type(const QString &text)
    {
        ui()->LabeledEdit1->clear();
        QTest::keyClicks(ui()->LabeledEdit1, text);
    }

    // Answers the next colour dialog: remembers the colour it opened on, then
    // picks `pick` or cancels when `pick` is invalid.
    void AnswerColorDialog(QColor pick)
    {
        QTimer::singleShot(0, &Window(), [this, pick] {
            auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            ++dialogsOpened;
            openedOn = dialog->currentColor();
            if (!pick.isValid()) return dialog->reject();
            dialog->setCurrentColor(pick);
            dialog->accept();
        });
    }

    QString Picked()
    {
        const QList<QListWidgetItem *> entries = ui()->ColorListBox1->selectedItems();
        return entries.size() == 1 ? entries.front()->text() : QString();
    }

    int dialogsOpened = 0;
    QColor openedOn;
};

}  // namespace

TEST_F(ColorControlsTest, TypedValueIsStoredAsTypedOnlyOnEnterOrApplyAndOnlyWithARowSelected)
{
    ForgetPreview();
    ClickRow(ui()->ColorListBox1, 10);
    Type("#123456");
    QTest::keyClick(ui()->LabeledEdit1, Qt::Key_Return);
    for (QPushButton *button : {ui()->Button2, ui()->Button1, ui()->BitBtn6}) button->click();
    EXPECT_FALSE(Rebuilt()) << "no row selected";

    ClickRow(ui()->ListBox2, 0);
    Type("#ff0000");
    EXPECT_EQ(ui()->ColorListBox1->currentItem()->text(), "Red") << "the picker follows the typing";
    EXPECT_EQ(Value(0), "#DDE5D3") << "typing stores nothing";

    QTest::keyClick(ui()->LabeledEdit1, Qt::Key_Return);
    EXPECT_EQ(Value(0), "#ff0000");
    EXPECT_TRUE(PreviewContains("background-color: #ff0000;"));

    ClickRow(ui()->ColorListBox1, 10);
    EXPECT_EQ(Value(0), "#FF0000") << "a click on the entry already selected";

    Type("");
    ui()->Button2->click();
    EXPECT_EQ(Value(0), "") << "an empty value box stores an empty value";
}

TEST_F(ColorControlsTest, ColourDialogOpensOnTheColourLastChosenInItOrOnTheCustomEntrysColour)
{
    AnswerColorDialog(QColor("#123456"));
    ClickRow(ui()->ListBox2, 4);  // a double-click begins as a click
    QTest::mouseDClick(ui()->ListBox2->viewport(), Qt::LeftButton, {},
                       ui()->ListBox2->visualItemRect(ui()->ListBox2->item(4)).center());
    EXPECT_EQ(openedOn, QColor(Qt::black)) << "black the first time";
    EXPECT_EQ(Value(4), "#123456");
    EXPECT_EQ(ui()->LabeledEdit1->text(), "#123456");
    EXPECT_TRUE(PreviewContains("color: #123456;"));

    ClickRow(ui()->ListBox2, 0);
    AnswerColorDialog(QColor());
    ui()->BitBtn6->click();
    EXPECT_EQ(openedOn, QColor("#123456")) << "not the row's value";
    EXPECT_EQ(Value(0), "#DDE5D3") << "Cancel changes nothing";

    ClickRow(ui()->ListBox2, 5);
    Type("#1A2B3C");
    EXPECT_EQ(ui()->ColorListBox1->currentRow(), 0) << "an unnamed colour goes to the custom entry";
    ui()->ColorListBox1->setFocus();
    AnswerColorDialog(QColor("#102030"));
    QTest::keyClick(ui()->ColorListBox1, Qt::Key_Return);
    EXPECT_EQ(openedOn, QColor("#1A2B3C"));
    EXPECT_EQ(QColorDialog::customColor(0), QColor("#1A2B3C"));
    EXPECT_EQ(Value(5), "#102030");
    EXPECT_EQ(ui()->ColorListBox1->item(0)->icon().pixmap(24, 14).toImage().pixelColor(8, 7).name(), "#102030");

    ClickRow(ui()->ColorListBox1, 3);
    QTest::keyClick(ui()->ColorListBox1, Qt::Key_Return);
    EXPECT_EQ(dialogsOpened, 3) << "Enter on a named entry opens nothing";
}

TEST_F(ColorControlsTest, CustomEntryWritesTheColourItHoldsAndThePickerMovesToTheNamedEntryHoldingIt)
{
    ClickRow(ui()->ListBox2, 2);
    for (const bool selectedBefore : {true, false}) {
        ui()->Button1->click();
        ASSERT_EQ(Picked(), "Custom...") << "transparent: the custom entry holds the none colour";
        if (!selectedBefore) ClickRow(ui()->ColorListBox1, 5);
        ClickRow(ui()->ColorListBox1, 0);
        EXPECT_EQ(Value(2), "#FFFFFF") << "the none colour written, custom entry selected before: " << selectedBefore;
        EXPECT_EQ(Picked(), "White") << selectedBefore;
    }

    Type("#1A2B3C");
    ClickRow(ui()->ColorListBox1, 0);
    EXPECT_EQ(Value(2), "#1A2B3C");
    EXPECT_EQ(Picked(), "Custom...") << "no named entry holds it";
    ui()->ColorListBox1->setFocus();
    AnswerColorDialog(QColor("#C0C0C0"));
    QTest::keyClick(ui()->ColorListBox1, Qt::Key_Return);
    EXPECT_EQ(Value(2), "#C0C0C0");
    EXPECT_EQ(Picked(), "Silver");
    ClickRow(ui()->ColorListBox1, 0);
    EXPECT_EQ(Value(2), "#C0C0C0");
    EXPECT_EQ(Picked(), "Silver") << "also when the value box keeps its text";
}
