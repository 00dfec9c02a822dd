#pragma once

#include <QApplication>

namespace platform {

// The application object. An error that escapes an event handler is reported
// in a box with its own text, and the program carries on.
class Application : public QApplication {
public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// Settings the browser engine needs before the application object exists.
void PrepareBrowserEngine();

}  // namespace platform
