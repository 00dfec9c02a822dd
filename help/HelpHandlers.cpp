#include "app/TForm1.h"

#include "app/Windows.h"
#include "help/HelpTopics.h"
#include "help/TForm8.h"
#include "help/ThelpDialog.h"
#include "help/WebLinks.h"
#include "platform/Shell.h"
#include "ui_TForm1.h"

void TForm1::ConnectHelpHandlers()
{
    for (QPushButton *help : {ui->BitBtn1, ui->BitBtn2, ui->BitBtn3, ui->BitBtn4, ui->BitBtn5, ui->BitBtn8,
                              ui->BitBtn11, ui->BitBtn17, ui->BitBtn19, ui->BitBtn9, ui->BitBtn12})
        connect(help, &QPushButton::clicked, this, [this, help] { HelpRequested(help); });
    for (QAction *help : {ui->Overview1, ui->About1})
        connect(help, &QAction::triggered, this, [this, help] { HelpRequested(help); });
    connect(ui->BitBtn14, &QPushButton::clicked, this, &TForm1::BitBtn14Click);
    connect(ui->Checkforupdates1, &QAction::triggered, this, &TForm1::BitBtn14Click);
    connect(ui->ContactUs1, &QAction::triggered, this, &TForm1::ContactUs1Click);
    connect(ui->VisittheForum1, &QAction::triggered, this, &TForm1::VisittheForum1Click);
    connect(ui->Quorlincom1, &QAction::triggered, this, &TForm1::Quorlincom1Click);
}

void TForm1::HelpRequested(QObject *sender)
{
    const int tag = sender->property("Tag").toInt();
    helpDialog->ShowPage(AppDir + "help/" + HelpPageForTag(tag));
}

void TForm1::BitBtn14Click() { Form8->exec(); }

void TForm1::ContactUs1Click() { platform::OpenWithDefaultHandler(weblinks::kContact); }

void TForm1::VisittheForum1Click() { platform::OpenWithDefaultHandler(weblinks::kForum); }

void TForm1::Quorlincom1Click() { platform::OpenWithDefaultHandler(weblinks::kHome); }
