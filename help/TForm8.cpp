#include "help/TForm8.h"

#include "app/TForm1.h"
#include "app/Windows.h"
#include "help/Download.h"
#include "help/ThelpDialog.h"
#include "help/VersionCheck.h"
#include "help/WebLinks.h"
#include "platform/FileBytes.h"
#include "platform/Shell.h"
#include "ui_TForm8.h"

#include <QApplication>
#include <QFile>

#include <algorithm>
#include <limits>
#include <utility>

namespace {

std::string ReadFile(const std::string &path)
{
    std::string text;
    ReadFileBytes(path, kShortFileCap, text);
    return text;
}

int ClampToInt(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, 0, std::numeric_limits<int>::max()));
}

}  // namespace

TForm8::TForm8(TForm1 *mainWindow)
    : QDialog(mainWindow),
      ui(new Ui::TForm8),
      programFolder(mainWindow->ProgramFolder()),
      versionFileAddress(weblinks::kVersionFile)
{
    ui->setupUi(this);
    setWindowFlag(Qt::Tool);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &TForm8::BitBtn1Click);
    connect(ui->BitBtn6, &QPushButton::clicked, this, &TForm8::BitBtn6Click);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &QDialog::close);
}

TForm8::~TForm8() = default;

std::string TForm8::VersionFile() const { return programFolder + "temp.tmp"; }

bool TForm8::event(QEvent *event)
{
    const bool handled = QDialog::event(event);
    // The program's own show and every activation from within the program check.
    if (event->type() == QEvent::Show && !event->spontaneous()) leftTheProgram = false;
    if (event->type() == QEvent::WindowDeactivate) leftTheProgram = !QApplication::activeWindow();
    if (event->type() == QEvent::WindowActivate && isVisible() && !std::exchange(leftTheProgram, false)) FormShow();
    return handled;
}

void TForm8::FormShow()
{
    ui->BitBtn1->hide();
    ui->ProgressBar1->show();
    ui->BitBtn6->setEnabled(false);
    ui->Label1->setText(DownloadingText());
    ui->Label1->repaint();
    const QString versionFile = QString::fromStdString(VersionFile());
    if (QFile::exists(versionFile)) QFile::remove(versionFile);
    try {
        CheckVersion();
    } catch (...) {
        ShowOutcome(VersionOutcome::Failed);
    }
    if (!QFile::exists(versionFile)) ShowOutcome(VersionOutcome::Failed);
}

void TForm8::CheckVersion()
{
    DownloadToFile(versionFileAddress, VersionFile(),
                   [this](std::int64_t received, std::int64_t total) { DownloadProgress(received, total); });
    ui->ProgressBar1->hide();
    ShowOutcome(JudgeVersionFile(ReadFile(VersionFile()), QLocale()));
}

void TForm8::DownloadProgress(std::int64_t received, std::int64_t total)
{
    ui->ProgressBar1->setMaximum(ClampToInt(total));
    ui->ProgressBar1->setValue(ClampToInt(received));
}

void TForm8::ShowOutcome(VersionOutcome outcome)
{
    const bool newer = outcome == VersionOutcome::NewerVersion;
    ui->BitBtn6->setEnabled(newer);
    ui->BitBtn1->setVisible(newer);
    ui->ProgressBar1->hide();
    ui->Label1->setText(OutcomeText(outcome));
}

void TForm8::BitBtn1Click() { helpDialog->ShowPage(weblinks::kWhatsNew); }

void TForm8::BitBtn6Click()
{
    platform::OpenWithDefaultHandler(weblinks::kDownload);
    close();
}

void TForm8::done(int result)
{
    QFile::remove(QString::fromStdString(VersionFile()));
    QDialog::done(result);
}
