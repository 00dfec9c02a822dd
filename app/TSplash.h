#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class TSplash;
}
class QLabel;
class QProgressBar;

// The borderless window with a progress bar shown while the program starts.
class TSplash : public QWidget {
    Q_OBJECT
public:
    TSplash();
    ~TSplash() override;

    QLabel *info() const;
    QProgressBar *ProgressBar1() const;
    void SetStep(int step);
    void StepIt();
    void Fill();
    void RepaintNow();

private:
    std::unique_ptr<Ui::TSplash> ui;
    int step = 1;
};
