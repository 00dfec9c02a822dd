#include "platform/ListBox.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

TEST(ListBoxTest, ReportsClicksForUserSelectionsOnly)
{
    ListBox list;
    list.addItems({"one", "two", "three"});
    list.show();
    QSignalSpy clicks(&list, &ListBox::Click);

    list.setCurrentRow(1);
    list.clear();
    list.addItems({"one", "two", "three"});
    EXPECT_EQ(clicks.count(), 0) << "the program's own changes are no clicks";

    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(2)).center());
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(2)).center());
    EXPECT_EQ(clicks.count(), 2) << "a click on the selected row is a click too";
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(5, list.viewport()->height() - 5));
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_TRUE(list.item(2)->isSelected()) << "a click on empty space keeps the selection";
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Up);
    EXPECT_EQ(clicks.count(), 3);
    EXPECT_EQ(list.currentRow(), 1);

    QObject::connect(&list, &ListBox::Click, &list, [&list] { list.setCurrentRow(list.currentRow() + 1); });
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(1)).center());
    EXPECT_EQ(list.selectedItems(), QList{list.item(2)}) << "a click on the selected row: its handler's selection stays";
    EXPECT_EQ(clicks.count(), 4);
}
