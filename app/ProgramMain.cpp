#include "app/ProgramMain.h"

#include "app/TForm1.h"
#include "app/TSplash.h"
#include "app/Windows.h"
#include "help/TForm8.h"
#include "help/ThelpDialog.h"
#include "imaging/TForm10.h"
#include "imaging/TForm20.h"
#include "imaging/TForm5.h"
#include "platform/Application.h"

#include <QLabel>
#include <QProgressBar>

TSplash *Splash = nullptr;
TForm1 *Form1 = nullptr;
ThelpDialog *helpDialog = nullptr;
TForm8 *Form8 = nullptr;
TForm10 *Form10 = nullptr;
TForm20 *Form20 = nullptr;
TForm5 *Form5 = nullptr;

namespace {

template <class Window>
void CreateModule(Window *&window, bool stepAfter)
{
    window = new Window(Form1);
    if (stepAfter) Splash->StepIt();
    else Splash->Fill();
    Splash->RepaintNow();
}

}  // namespace

void ShowSplash()
{
    Splash = new TSplash;
    Splash->show();
    Splash->RepaintNow();
    QProgressBar *bar = Splash->ProgressBar1();
    bar->setMaximum(200);
    bar->setValue(20);
    Splash->SetStep(10);
    QApplication::setApplicationName(QStringLiteral("Quorlin"));
}

void CreateProgramWindows(const std::string &appDir)
{
    Form1 = new TForm1(appDir);
    Splash->info()->setText(QStringLiteral("Loading Modules..."));
    Splash->StepIt();
    Splash->RepaintNow();
    CreateModule(helpDialog, true);
    CreateModule(Form8, true);
    CreateModule(Form10, true);
    CreateModule(Form20, true);
    CreateModule(Form5, false);
}

void CloseSplash()
{
    Splash->hide();
    delete Splash;
    Splash = nullptr;
}

void DestroyProgramWindows()
{
    // The secondary windows belong to the main window and go with it.
    delete Form1;
    Form1 = nullptr;
    helpDialog = nullptr;
    Form8 = nullptr;
    Form10 = nullptr;
    Form20 = nullptr;
    Form5 = nullptr;
}

int ProgramMain(int argc, char **argv)
{
    platform::PrepareBrowserEngine();
    platform::Application app(argc, argv);
    ShowSplash();
    CreateProgramWindows();
    CloseSplash();
    Form1->show();
    const int result = app.exec();
    DestroyProgramWindows();
    return result;
}
