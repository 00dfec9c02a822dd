#include "app/TForm1.h"

#include "app/Windows.h"
#include "builder/ControlWidgets.h"
#include "imaging/TForm5.h"
#include "imaging/ThumbnailViewer.h"
#include "library/ConfigFiles.h"
#include "ui_TForm1.h"

#include <QMouseEvent>

#include <algorithm>

namespace {

// Reports every mouse button pressed on the watched widget; the press goes on.
class MousePressFilter : public QObject {
public:
    MousePressFilter(QWidget *watched, std::function<void(Qt::MouseButton)> action)
        : QObject(watched), action_(std::move(action))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress) action_(static_cast<QMouseEvent *>(event)->button());
        return false;
    }

private:
    std::function<void(Qt::MouseButton)> action_;
};

int IndexOf(const std::vector<std::string> &names, const std::string &name)
{
    const auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? -1 : int(found - names.begin());
}

// The thumbnails and the candidates are matched by file name, so that a
// folder holding other files besides pictures still hands over the right one.
void ShowCandidateInBrowser(const QListWidget *candidates, ThumbnailViewer *viewer)
{
    const int position = SelectedRow(candidates) < 0 ? -1 : IndexOf(viewer->Files(), SelectedText(candidates));
    viewer->SetPosition(position);
    viewer->ScrollToPosition(position);
}

// Selects the browser's chosen file in the candidate list; false when there is none.
bool SelectBrowserChoice(const ThumbnailViewer *viewer, QListWidget *candidates)
{
    const int position = viewer->Position();
    if (position < 0) return false;
    QListWidgetItem *found = FindEntry(candidates, viewer->Files()[position]);
    if (!found) return false;
    candidates->setCurrentItem(found);
    return true;
}

}  // namespace

void TForm1::ConnectBrowserHandlers()
{
    connect(ui->ListBox6, &QListWidget::itemDoubleClicked, this, &TForm1::ListBox6DblClick);
    connect(ui->BitBtn22, &QPushButton::clicked, this, &TForm1::ListBox6DblClick);
    connect(ui->Button8, &QPushButton::clicked, this, &TForm1::Button8Click);
    new MousePressFilter(ui->Button8, [this](Qt::MouseButton button) { Button8MouseDown(button); });
}

void TForm1::ListBox6DblClick()
{
    const int row = SelectRowOfTitle(lvImages, ui->ListBox6);
    if (row < 0) return;
    lvImagesSelectItem(row);
    ThumbnailViewer *viewer = Form5->Viewer();
    // No folder shows no pictures: one outside the template's is not read.
    viewer->SetFolder(PathInTemplate(TemplateDir, lvImages.rows[row].folder).value_or(std::string()));
    viewer->Reload();
    ShowCandidateInBrowser(ui->ListBox7, viewer);
    if (Form5->exec() == QDialog::Accepted && SelectBrowserChoice(viewer, ui->ListBox7)) ListBox7Click();
}
