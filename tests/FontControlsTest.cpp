#include "TemplateFixture.h"

#include "platform/ComboBox.h"

#include <QAbstractItemView>
#include <QLineEdit>

namespace {

std::string FontItem(const std::string &title, const std::string &family, int number)
{
    return "<item><title>" + title + "</title><font-family>" + family +
           "</font-family><font-size>12</font-size><font-measure>px</font-measure><font-weight>bold</font-weight>"
           "<font-style>normal</font-style><font-decoration>none</font-decoration><var>%%F" +
           std::to_string(number) + "%%</var></item>";
}

class FontControlsTest : public TemplateFixture {
protected:
    void SetUp() override
    {
        AddTemplate("t", "<p>[%%F1%%]</p><p>[%%F2%%]</p>",
                    {{"fonts.xml", ItemFile(FontItem("Body", "Arial, Helvetica, sans-serif", 1) +
                                            FontItem("Title", "Georgia", 2))}});
        OpenShown("t");
    }
    const FontRow &Row(int row) { return Window().FontTable().rows[row]; }

    static void Type(QComboBox *box, const QString &text)
    {
        box->setEditText({});
        QTest::keyClicks(box, text);
    }
    static void Enter(QComboBox *box) { QTest::keyClick(box, Qt::Key_Return); }
};

}  // namespace

TEST_F(FontControlsTest, SelectingARowFillsTheBoxesWithItsValuesAndWithoutOneNothingWrites)
{
    ForgetPreview();
    Type(ui()->ComboBox4, "lighter");
    Enter(ui()->ComboBox4);
    for (QPushButton *apply : {ui()->Button9, ui()->Button10, ui()->Button11, ui()->Button12, ui()->Button13})
        apply->click();
    emit ui()->ComboBox1->activated(0);

    ClickRow(ui()->ListBox5, 0);
    const QComboBox *shown[] = {ui()->ComboBox1, ui()->ComboBox2, ui()->ComboBox3,
                                ui()->ComboBox4, ui()->ComboBox5, ui()->ComboBox6};
    const QStringList values = {"Arial, Helvetica, sans-serif", "12", "px", "bold", "normal", "none"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(shown[i]->currentText(), values[i]);
    const auto *families = ui()->ComboBox1->model();
    EXPECT_EQ(families->match(families->index(0, 0), Qt::DisplayRole, values[0], -1, Qt::MatchExactly).size(), 2);
    EXPECT_FALSE(Rebuilt()) << "neither the lines without a row nor selecting write";
    EXPECT_TRUE(Window().updatesEnabled());
}

TEST_F(FontControlsTest, SizeRuleClearsTheUnitForSizesThatAreNotAllDigitsAndEveryLineStoresItsValueAsTyped)
{
    ClickRow(ui()->ListBox5, 0);
    for (const auto &[size, unit] : {std::pair{"16", "px"}, {"small", ""}}) {
        Type(ui()->ComboBox2, size);
        Enter(ui()->ComboBox2);
        EXPECT_EQ(Row(0).size, size);
        EXPECT_EQ(Row(0).unit, unit);
        EXPECT_EQ(ui()->ComboBox3->currentText(), unit);
        EXPECT_TRUE(PreviewContains("font-size:" + std::string(size) + unit + ";"));
    }

    Type(ui()->ComboBox3, "px");
    Enter(ui()->ComboBox3);
    EXPECT_EQ(Row(0).unit, "px") << "a unit is stored whatever the size";

    // The size line's apply button stores the size, then the unit the rule left.
    ClickRow(ui()->ListBox5, 1);
    Type(ui()->ComboBox2, "x-large");
    Type(ui()->ComboBox3, "px");
    ui()->Button10->click();
    EXPECT_EQ(Row(1).size, "x-large");
    EXPECT_EQ(Row(1).unit, "");

    // Every other line stores its own value as typed.
    const std::pair<QComboBox *, QPushButton *> lines[] = {
        {ui()->ComboBox1, ui()->Button9}, {ui()->ComboBox4, ui()->Button11},
        {ui()->ComboBox5, ui()->Button12}, {ui()->ComboBox6, ui()->Button13}};
    for (const auto &[box, apply] : lines) {
        Type(box, " Typed ");
        apply->click();
    }
    EXPECT_EQ(Row(0).family, "Arial, Helvetica, sans-serif");
    EXPECT_TRUE(PreviewContains("[font-family: Typed ;\r\nfont-size:x-large;\r\nfont-weight: Typed ;\r\n"
                                "font-style: Typed ;\r\ntext-decoration: Typed ;\r\n]"));
}
