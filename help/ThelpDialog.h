#pragma once

#include <QDialog>

#include <memory>
#include <string>

namespace Ui {
class ThelpDialog;
}

// The help window: shows one page, a file path or a web address, in its
// browser each time it is shown.
class ThelpDialog : public QDialog {
    Q_OBJECT
public:
    explicit ThelpDialog(QWidget *parent = nullptr);
    ~ThelpDialog() override;

    Ui::ThelpDialog *Ui() const { return ui.get(); }
    const std::string &PageURL() const { return pageURL; }
    void SetPageURL(const std::string &address) { pageURL = address; }

    // Sets the page and shows the window modally until it is closed.
    void ShowPage(const std::string &address);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void CentreOnScreen();

    std::unique_ptr<Ui::ThelpDialog> ui;
    std::string pageURL = "about:blank";
};
