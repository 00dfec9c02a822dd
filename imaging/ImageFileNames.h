#pragma once

#include <optional>
#include <string>

// The extension of a file name: from the last "." after the last folder
// separator ("/", "\" or ":"), empty when there is none.
std::string FileExtension(const std::string &name);

// The name without its extension.
std::string WithoutExtension(const std::string &name);

// True for the extensions .jpg and .jpeg in any letter case.
bool HasJpegExtension(const std::string &name);

// True when `folder` (ending with "/") holds an entry of that name, in any
// letter case, that is not a folder.
bool IsTakenName(const std::string &folder, const std::string &name);

// The first free name base_n.jpg (n = 1, 2, ...) for a copy of `fileName` in
// `folder`; without a folder no name is taken.
std::string ProposedCopyName(const std::optional<std::string> &folder, const std::string &fileName);

// The typed name made a JPEG name: ".jpg" added when it has no extension, any
// other extension than .jpg / .jpeg replaced by ".jpg".
std::string JpegSaveName(const std::string &typed);
