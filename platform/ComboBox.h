#pragma once

#include <QComboBox>

// An editable combo box whose typed text is stored as it stands: no completion,
// Enter reports Enter and leaves the text and the list alone, typing goes to the
// text also while the list is open, and DropDown is reported before the list
// opens so that the list can be rebuilt first.
class ComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ComboBox(QWidget *parent = nullptr);

    void showPopup() override;

    // Opens the list as soon as the user types in the box.
    void SetOpensListOnTyping(bool opens);

signals:
    void DropDown();
    void Enter();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool opensListOnTyping = false;
};
