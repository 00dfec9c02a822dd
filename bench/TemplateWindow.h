#pragma once

#include "app/TForm1.h"

#include <QTemporaryDir>

#include <memory>
#include <string>

// A program folder in a temporary folder holding a copy of one shipped
// template, and the main window with that template open.
class TemplateWindow {
public:
    explicit TemplateWindow(const std::string &name);

    TForm1 &Window() const { return *window_; }
    // The copied template's folder.
    std::string Folder() const;

private:
    QTemporaryDir program_;
    std::string name_;
    std::unique_ptr<TForm1> window_;
};
