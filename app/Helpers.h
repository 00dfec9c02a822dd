#pragma once

#include "platform/FolderSearch.h"

#include <cstdint>
#include <string>
#include <vector>

class QWebEngineView;

namespace platform {
class CopyProgress;
struct CopyPaths;
}

using StringList = std::vector<std::string>;

// Colour value: red in the lowest byte, then green, then blue ($BBGGRR).
// Negative values stand for system colours.
using TColor = std::int32_t;
constexpr TColor kColorNone = 0x1FFFFFFF;

// The attribute bits of a folder search.
using enum platform::FileAttr;

void ListSubfolders(const std::string &pathMask, int attr, StringList &list);
void ListFiles(StringList &list, const std::string &folder, const std::string &mask);
void ListFilesNoExt(StringList &list, const std::string &folder, const std::string &mask);
bool IsAllDigits(const std::string &text);
std::string ColorToHtml(TColor color);
TColor HtmlToColor(const std::string &text);
// Copies with the progress of a series of copies, silently without one; an
// existing target stays and the copy takes a new name. The source's links
// that lead out of its root are left out and added to `skippedLinks`.
// False when it failed.
bool ShellCopy(platform::CopyProgress *progress, const platform::CopyPaths &paths, StringList &skippedLinks);
bool DeleteToRecycleBin(const std::string &path);
void CopyFolderTree(const std::string &src, const std::string &dst);
void CopyFolderWithShell(const std::string &src, const std::string &dst);
std::string GetMyDocumentsFolder();
std::string StripBadSlashes(const std::string &text);
void LoadHtmlIntoBrowser(QWebEngineView *browser, const std::string &html);
