#pragma once

#include <string>

class QListWidget;

// Lists the presets of `folder` (its "*.xml" files, without extension) in `list`.
void FillPresetList(QListWidget *list, const std::string &folder);
