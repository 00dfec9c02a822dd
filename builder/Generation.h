#pragma once

#include "app/PathSafety.h"
#include "app/Rows.h"
#include "builder/Substitution.h"
#include "library/ConfigFiles.h"
#include "platform/Shell.h"

#include <functional>
#include <string>
#include <vector>

class CodeBuffer;
class QWidget;

using StringList = std::vector<std::string>;

// The lines of a static file list (cut at CR LF, CR and LF). Throws when unreadable.
StringList ReadStaticFileList(const std::string &path);

// A static list line as a path below the template's folder: "/" separators,
// blanks and outer slashes removed. Empty for a blank line.
std::string StaticEntry(const std::string &line);

// The tag that links a style sheet into the generated page.
std::string LinkTag(const StylesheetRow &row);

enum class EditorKind { DwMx, MsEw };

// The editor template's file name in the output folder.
const char *EditorTemplateName(EditorKind kind);

// Turns the page's region markers into the editable-region comments of one
// editor; the plain begin markers become regions numbered from 1 in page order.
void ConvertToEditorTemplate(CodeBuffer &page, EditorKind kind);


struct SiteSources {
    std::string templateDir;
    TemplateNames names;
    const std::vector<StylesheetRow> &stylesheets;
    RowTables rows;
};

struct EditorTemplates {
    bool dwMx = false;
    bool msEw = false;
};

// Writes the finished site of a template into its output folder. File work
// only: the caller shows the listed files and the code views.
class SiteGenerator {
public:
    using FileListed = std::function<void(const std::string &)>;

    // `buffer` holds each file while it is substituted; `copyOwner` owns the
    // copies' one progress dialog; `listFile` hears of every file written.
    SiteGenerator(const SiteSources &sources, CodeBuffer &buffer, QWidget *copyOwner, FileListed listFile);

    // Clears the output folder and writes the static files, the page, the
    // style sheets and the images. False (and nothing done) when the output
    // folder does not lie below the template's folder; throws when it cannot
    // be cleared.
    bool WriteSite();
    // Lists the page and writes the chosen editor templates, removing the others.
    void FinishSite(EditorTemplates chosen);

    std::string OutputFolder() const { return outputFolder; }
    std::string GeneratedPage() const { return outputFolder + "/index.html"; }
    // The last style sheet written, "" when none was.
    const std::string &LastStyleSheet() const { return lastStyleSheet; }
    // Entries left out because they name a place outside the template's
    // folders, and links in copied folders that lead out of the template.
    const StringList &Skipped() const { return skipped; }

private:
    enum class Access { Read, ReadAndWrite };
    // Names the entry as skipped when it leaves the template's folder (or,
    // when written, the output folder).
    bool Admits(const std::string &relative, Access access);
    void ClearOutputFolder();
    void CreateImageFolder();
    void CopyStaticFiles();
    void WritePage();
    void WriteStyleSheet(const StylesheetRow &row);
    void CopyImages();
    void CopyIntoSite(const std::string &relative);
    void Substitute();
    void WriteEditorTemplate(EditorKind kind);

    const SiteSources &sources;
    CodeBuffer &buffer;
    platform::CopyProgress copyProgress;
    FileListed listFile;
    std::string outputFolder;
    FolderBounds templateBounds;
    FolderBounds outputBounds;
    std::vector<LayoutRow> readableLayouts;
    std::string lastStyleSheet;
    StringList skipped;
};

// The message that names the skipped entries.
std::string SkippedEntriesMessage(const StringList &skipped);
