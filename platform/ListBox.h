#pragma once

#include <QListWidget>

// A list that reports Click when the user clicks an entry or changes the
// selection with the mouse or the keyboard, and never when the program sets
// it. A click on empty space keeps the selection.
class ListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ListBox(QWidget *parent = nullptr);

signals:
    void Click();

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    template <class Handle>
    void AsUserInput(Handle handle);

    bool userInput = false;
    bool selectionChanged = false;
    // The program has set the selection since the mouse button went down.
    bool programSelected = false;
};
