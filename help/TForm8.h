#pragma once

#include <QDialog>

#include <cstdint>
#include <memory>
#include <string>

namespace Ui {
class TForm8;
}
class TForm1;
enum class VersionOutcome;

// The version check window: each time it becomes the active window within
// the program (not when the user comes back from another program) it
// downloads the maker's version file into "temp.tmp" in the program folder
// and tells whether a newer version exists.
class TForm8 : public QDialog {
    Q_OBJECT
public:
    explicit TForm8(TForm1 *mainWindow);
    ~TForm8() override;

    Ui::TForm8 *Ui() const { return ui.get(); }
    std::string VersionFile() const;
    void SetVersionFileAddress(const std::string &address) { versionFileAddress = address; }

    void FormShow();
    void CheckVersion();
    void DownloadProgress(std::int64_t received, std::int64_t total);
    void BitBtn1Click();
    void BitBtn6Click();
    // Closing the window in any way ends here.
    void done(int result) override;

protected:
    bool event(QEvent *event) override;

private:
    void ShowOutcome(VersionOutcome outcome);

    std::unique_ptr<Ui::TForm8> ui;
    std::string programFolder;
    std::string versionFileAddress;
    bool leftTheProgram = false;
};
