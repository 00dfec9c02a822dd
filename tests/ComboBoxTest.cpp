#include "platform/ComboBox.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

TEST(ComboBoxTest, EnterKeepsTheTypedTextAndTheListReportsDropDownBeforeOpening)
{
    ComboBox box;
    box.addItems({"bold", "normal", "Tahoma"});
    box.show();
    QSignalSpy enters(&box, &ComboBox::Enter);
    QSignalSpy choices(&box, &QComboBox::activated);
    box.setEditText({});
    QTest::keyClicks(&box, "BOLD");
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClick(box.lineEdit(), Qt::Key_Enter);
    EXPECT_EQ(enters.count(), 2);
    EXPECT_EQ(box.currentText(), "BOLD");
    EXPECT_EQ(box.count(), 3) << "nothing typed is added to the list";
    box.setEditText({});
    QTest::keyClicks(&box, "no");
    EXPECT_EQ(box.currentText(), "no") << "no completion";

    bool openWhenReported = true;
    QObject::connect(&box, &ComboBox::DropDown, &box, [&] { openWhenReported = box.view()->isVisible(); });
    box.SetOpensListOnTyping(true);
    box.setEditText({});
    QTest::keyClicks(&box, "T");
    EXPECT_TRUE(box.view()->isVisible()) << "typing opens the list";
    EXPECT_FALSE(openWhenReported);
    QTest::keyClicks(box.view(), "ahoma, a");
    QTest::keyClick(box.view(), Qt::Key_Backspace);
    QTest::keyClick(box.view(), Qt::Key_Return);
    EXPECT_EQ(enters.count(), 3) << "Enter after typing takes the typed text";
    EXPECT_EQ(choices.count(), 0);
    EXPECT_EQ(box.currentText(), "Tahoma, ");
    EXPECT_FALSE(box.view()->isVisible());
}
