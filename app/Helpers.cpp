#include "app/Helpers.h"

#include "platform/FolderSearch.h"
#include "platform/MessageBoxes.h"
#include "platform/Painting.h"
#include "platform/Shell.h"

#include <QApplication>
#include <QPalette>

#include <algorithm>
#include <charconv>
#include <utility>

namespace {

// Searches "folder/mask" the way a path with a wildcard name is searched.
std::vector<platform::FoundEntry> SearchPathMask(const std::string &pathMask, int attrFilter)
{
    const size_t slash = pathMask.rfind('/');
    if (slash == std::string::npos) return platform::FindEntries("", pathMask, attrFilter);
    return platform::FindEntries(pathMask.substr(0, slash + 1), pathMask.substr(slash + 1),
                                 attrFilter);
}

// System colour indexes and the palette roles that stand for them.
QPalette::ColorRole RoleOfSystemColor(int index)
{
    static const std::pair<int, QPalette::ColorRole> kRoles[] = {
        {5, QPalette::Base},              // window background
        {7, QPalette::WindowText},        // menu text
        {8, QPalette::Text},              // window text
        {13, QPalette::Highlight},        // highlight
        {14, QPalette::HighlightedText},  // highlight text
        {15, QPalette::Button},           // button face
        {16, QPalette::Dark},             // button shadow
        {18, QPalette::ButtonText},       // button text
        {20, QPalette::Light},            // button highlight
        {23, QPalette::ToolTipText},      // info text
        {24, QPalette::ToolTipBase},      // info background
    };
    for (const auto &[systemIndex, role] : kRoles)
        if (systemIndex == index) return role;
    return QPalette::Window;
}

TColor ResolveColor(TColor color)
{
    if (color >= 0) return color & 0xFFFFFF;
    const QColor system = QApplication::palette().color(RoleOfSystemColor(color & 0xFF));
    return system.red() | system.green() << 8 | system.blue() << 16;
}

void AppendHexByte(std::string &text, int byte)
{
    static const char kDigits[] = "0123456789ABCDEF";
    text += kDigits[(byte >> 4) & 0xF];
    text += kDigits[byte & 0xF];
}

// Characters `from` and `from + 1`, counted from 1, or what exists of them.
std::string PairAt(const std::string &text, size_t from)
{
    return from <= text.size() ? text.substr(from - 1, 2) : std::string();
}

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

void ListSubfolders(const std::string &pathMask, int attr, StringList &list)
{
    for (const auto &entry : SearchPathMask(pathMask, attr))
        if (entry.attributes == faDirectory && !platform::IsDotEntry(entry.name))
            list.push_back(entry.name);
}

void ListFiles(StringList &list, const std::string &folder, const std::string &mask)
{
    list.clear();
    for (const auto &entry : SearchPathMask(folder + mask, faAnyFile)) list.push_back(entry.name);
}

void ListFilesNoExt(StringList &list, const std::string &folder, const std::string &mask)
{
    ListFiles(list, folder, mask);
    for (std::string &name : list) name.resize(name.size() > 4 ? name.size() - 4 : 0);
}

bool IsAllDigits(const std::string &text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string ColorToHtml(TColor color)
{
    const TColor rgb = ResolveColor(color);
    std::string text = "#";
    for (const int shift : {0, 8, 16}) AppendHexByte(text, (rgb >> shift) & 0xFF);
    return text;
}

TColor HtmlToColor(const std::string &text)
{
    const std::string digits = PairAt(text, 6) + PairAt(text, 4) + PairAt(text, 2);
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), IsHexDigit)) return kColorNone;
    TColor value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    return value;
}

bool ShellCopy(platform::CopyProgress *progress, const platform::CopyPaths &paths, StringList &skippedLinks)
{
    return platform::CopyRenamingOnCollision(progress, paths, skippedLinks) != platform::CopyOutcome::Failed;
}

bool DeleteToRecycleBin(const std::string &path) { return platform::MoveToTrash(path); }

void CopyFolderTree(const std::string &src, const std::string &dst)
{
    platform::CopyAddingMissing(src, dst, platform::ProcessMessages);
}

void CopyFolderWithShell(const std::string &src, const std::string &dst)
{
    const auto outcome =
        platform::CopyAskingBeforeReplace(platform::ApplicationWindow(), src, dst);
    if (outcome == platform::CopyOutcome::Done) return;
    platform::BringApplicationToFront();
    platform::ShowError(QStringLiteral("Operation Aborted... "));
    platform::BringApplicationToFront();
}

std::string GetMyDocumentsFolder() { return platform::DocumentsFolder(); }

std::string StripBadSlashes(const std::string &text)
{
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    const auto first = std::find_if_not(text.begin(), text.end(), isBlank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isBlank).base();
    std::string result = first < last ? std::string(first, last) : std::string();
    if (result.starts_with('/')) result.erase(0, 1);
    if (result.starts_with('\\')) result.erase(0, 1);
    while (!result.empty() && result.back() == '/') result.pop_back();
    while (!result.empty() && result.back() == '\\') result.pop_back();
    return result;
}
