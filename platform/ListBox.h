#pragma once

#include <QListWidget>

// A list that reports Click when the user changes its selection, with the
// mouse or the keyboard, and never when the program sets it.
class ListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ListBox(QWidget *parent = nullptr);

signals:
    void Click();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    template <class Handle>
    void AsUserInput(Handle handle);

    bool userInput = false;
    bool selectionChanged = false;
};
