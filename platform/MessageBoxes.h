#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace platform {

enum class BoxKind {
    Plain,         // caption "Quorlin", OK, no icon
    Error,         // caption "Error", error icon, OK
    Confirm,       // caption "Confirm", question icon, Yes/No/Cancel
    Replace,       // a copy asks before replacing a file: Yes/Yes to All/No/Cancel
    Uncaught,      // an error no handler caught: caption "Quorlin", error icon
};

enum class BoxAnswer { Ok, Yes, YesToAll, No, Cancel };

struct ShownBox {
    BoxKind kind;
    QString caption;
    QString text;
};

// Every message box of the program goes through here. A responder installed
// by a test answers the boxes instead of the user.
using BoxResponder = std::function<BoxAnswer(const ShownBox &)>;
void SetBoxResponder(BoxResponder responder);

// While it lives, `showing` runs with true before each message box appears and
// with false once the box is answered, so that what the box is about can be
// put on screen under it.
class BoxWatch {
public:
    explicit BoxWatch(std::function<void(bool showing)> showing);
    ~BoxWatch();
    BoxWatch(const BoxWatch &) = delete;
    BoxWatch &operator=(const BoxWatch &) = delete;

private:
    std::function<void(bool)> previous;
};

void ShowMessage(const QString &text);
void ShowError(const QString &text);
BoxAnswer AskConfirmation(const QString &text);
BoxAnswer AskReplace(const QString &text);
void ReportUncaughtError(const QString &text);

}  // namespace platform
