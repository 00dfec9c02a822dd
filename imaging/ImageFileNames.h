#pragma once

#include <string>

// The extension of a file name: from the last "." after the last folder
// separator ("/", "\" or ":"), empty when there is none.
std::string FileExtension(const std::string &name);

// The name without its extension.
std::string WithoutExtension(const std::string &name);

// True for the extensions .jpg and .jpeg in any letter case.
bool HasJpegExtension(const std::string &name);

// The first free name base_n.jpg (n = 1, 2, ...) for a copy of `fileName` in
// `folder` (which ends with "/"); only files count as taken.
std::string ProposedCopyName(const std::string &folder, const std::string &fileName);

// The typed name made a JPEG name: ".jpg" added when it has no extension, any
// other extension than .jpg / .jpeg replaced by ".jpg".
std::string JpegSaveName(const std::string &typed);

// True when the name would reach outside its folder.
bool LeavesFolder(const std::string &name);
