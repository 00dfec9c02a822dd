#include "platform/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <ostream>
#include <tuple>

namespace platform {
// Names an answer in a failure message.
static void PrintTo(BoxAnswer answer, std::ostream *out)
{
    *out << std::array{"Ok", "Yes", "YesToAll", "No", "Cancel"}[static_cast<std::size_t>(answer)];
}
}  // namespace platform

using platform::BoxAnswer;

namespace {

// Raises a real box with `show`, does `act` to it as a user would and returns
// the answer; a box that `act` leaves open is closed without an answer.
BoxAnswer AnswerRealBox(const std::function<BoxAnswer()> &show, const std::function<void(QMessageBox *)> &act)
{
    bool raised = false;
    const QObject whileShown;  // a call left over when no box came up dies with it
    QTimer::singleShot(0, &whileShown, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!(raised = box)) return;
        act(box);
        EXPECT_FALSE(box->isVisible()) << "the box is closed";
        if (box->isVisible()) box->done(0);
    });
    const BoxAnswer answer = show();
    EXPECT_TRUE(raised) << "a real box came up";
    return answer;
}

}  // namespace

TEST(RealMessageBoxTest, BoxesShowTheirCaptionIconAndButtonsQuestionsDefaultToYesAndEscapeCancelsOrCloses)
{
    using enum QMessageBox::StandardButton;
    const std::tuple<std::function<BoxAnswer()>, QString, QMessageBox::Icon, QMessageBox::StandardButtons> boxes[] = {
        {[] { return platform::AskConfirmation("Sure?"); }, "Confirm", QMessageBox::Question, Yes | No | Cancel},
        {[] { return platform::AskReplace("Sure?"); }, "Confirm File Replace", QMessageBox::Question,
         Yes | YesToAll | No | Cancel},
        {[] { return platform::ShowMessage("Sure?"), BoxAnswer::Ok; }, "Quorlin", QMessageBox::NoIcon, Ok},
        {[] { return platform::ShowError("Sure?"), BoxAnswer::Ok; }, "Error", QMessageBox::Critical, Ok},
        {[] { return platform::ReportUncaughtError("Sure?"), BoxAnswer::Ok; }, "Quorlin", QMessageBox::Critical, Ok},
    };
    const std::pair<QMessageBox::StandardButton, BoxAnswer> answers[] = {{Ok, BoxAnswer::Ok}, {Yes, BoxAnswer::Yes},
        {YesToAll, BoxAnswer::YesToAll}, {No, BoxAnswer::No}, {Cancel, BoxAnswer::Cancel}};
    for (const auto &[show, caption, icon, buttons] : boxes) {
        SCOPED_TRACE(testing::Message() << caption.toStdString() << ", icon " << icon);
        const auto inspectAndEscape = [&](QMessageBox *box) {
            EXPECT_EQ(box->windowTitle(), caption);
            EXPECT_EQ(box->text(), "Sure?");
            EXPECT_EQ(box->icon(), icon);
            EXPECT_EQ(box->standardButtons(), buttons);
            EXPECT_EQ(box->standardButton(box->defaultButton()), buttons & Yes ? Yes : NoButton);
            QTest::keyClick(box, Qt::Key_Escape);
        };
        EXPECT_EQ(AnswerRealBox(show, inspectAndEscape), buttons & Cancel ? BoxAnswer::Cancel : BoxAnswer::Ok);
        for (const auto &[button, answer] : answers)
            if (buttons & button) {
                EXPECT_EQ(AnswerRealBox(show, [button](QMessageBox *box) {
                    if (QAbstractButton *pressed = box->button(button)) pressed->click();
                }), answer) << button;
            }
        const auto pressReturn = [](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Return); };
        EXPECT_EQ(AnswerRealBox(show, pressReturn), buttons & Yes ? BoxAnswer::Yes : BoxAnswer::Ok);
    }
}
