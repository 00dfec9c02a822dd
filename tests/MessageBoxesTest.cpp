#include "platform/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <utility>

namespace platform {

// Names an answer in a failure message.
static void PrintTo(BoxAnswer answer, std::ostream *out)
{
    static const char *const names[] = {"Ok", "Yes", "YesToAll", "No", "Cancel"};
    *out << names[static_cast<int>(answer)];
}

}  // namespace platform

using platform::BoxAnswer;
using Button = QMessageBox::StandardButton;

namespace {

// What a real box showed, and whether the user's act closed it.
struct SeenBox {
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    Button defaultButton = Button::NoButton;
    bool closed = false;
};

// Raises a real box with `show`, does `act` to it as a user would and returns
// the answer; a box that `act` leaves open is closed without an answer.
BoxAnswer AnswerRealBox(const std::function<BoxAnswer()> &show, const std::function<void(QMessageBox *)> &act,
                        SeenBox &seen)
{
    const QObject whileShown;  // a call left over when no box came up dies with it
    QTimer::singleShot(0, &whileShown, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) return;
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                box->standardButton(box->defaultButton())};
        act(box);
        seen.closed = !box->isVisible();
        if (!seen.closed) box->done(0);
    });
    return show();
}

void PressEscape(QMessageBox *box) { QTest::keyClick(box, Qt::Key_Escape); }

struct Question {
    std::function<BoxAnswer()> ask;
    QString caption;
    std::vector<std::pair<Button, BoxAnswer>> buttons;
};

}  // namespace

TEST(RealMessageBoxTest, QuestionsShowTheirButtonsYesIsTheDefaultAndEscapeCancels)
{
    const std::pair<Button, BoxAnswer> yes{Button::Yes, BoxAnswer::Yes}, no{Button::No, BoxAnswer::No},
        yesToAll{Button::YesToAll, BoxAnswer::YesToAll}, cancel{Button::Cancel, BoxAnswer::Cancel};
    const Question questions[] = {
        {[] { return platform::AskConfirmation("Delete it?"); }, "Confirm", {yes, no, cancel}},
        {[] { return platform::AskReplace("Replace it?"); }, "Confirm File Replace", {yes, yesToAll, no, cancel}},
    };
    for (const auto &[ask, caption, buttons] : questions) {
        SeenBox seen;
        EXPECT_EQ(AnswerRealBox(ask, PressEscape, seen), BoxAnswer::Cancel) << caption.toStdString();
        EXPECT_TRUE(seen.closed);
        EXPECT_EQ(seen.caption, caption);
        EXPECT_EQ(seen.icon, QMessageBox::Question);
        QMessageBox::StandardButtons shown;
        for (const auto &[button, answer] : buttons) shown |= button;
        EXPECT_EQ(seen.buttons, shown) << caption.toStdString();
        EXPECT_EQ(seen.defaultButton, Button::Yes);

        const auto pressReturn = [](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Return); };
        EXPECT_EQ(AnswerRealBox(ask, pressReturn, seen), BoxAnswer::Yes) << caption.toStdString();
        for (const auto &[button, answer] : buttons) {
            const auto click = [button](QMessageBox *box) {
                if (QAbstractButton *pressed = box->button(button)) pressed->click();
            };
            EXPECT_EQ(AnswerRealBox(ask, click, seen), answer) << caption.toStdString() << " " << button;
        }
    }
}

TEST(RealMessageBoxTest, NoticesShowOneOkButtonTheirCaptionAndIconAndEscapeClosesThem)
{
    const std::tuple<std::function<void()>, QString, QMessageBox::Icon> notices[] = {
        {[] { platform::ShowMessage("Saved."); }, "Quorlin", QMessageBox::NoIcon},
        {[] { platform::ShowError("Saved."); }, "Error", QMessageBox::Critical},
        {[] { platform::ReportUncaughtError("Saved."); }, "Quorlin", QMessageBox::Critical},
    };
    for (const auto &[notify, caption, icon] : notices) {
        SeenBox seen;
        const auto show = [&notify] { return notify(), BoxAnswer::Ok; };
        AnswerRealBox(show, PressEscape, seen);
        EXPECT_TRUE(seen.closed) << caption.toStdString();
        EXPECT_EQ(seen.caption, caption);
        EXPECT_EQ(seen.text, "Saved.");
        EXPECT_EQ(seen.icon, icon) << caption.toStdString();
        EXPECT_EQ(seen.buttons, QMessageBox::Ok);
    }
}
