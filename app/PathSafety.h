#pragma once

#include <string>

// True when `relative` names a place strictly below `folder`, also once
// symbolic links are followed: not absolute, not climbing out with "..".
bool LiesBelow(const std::string &folder, const std::string &relative);
