#include "builder/Generation.h"

#include "app/Helpers.h"
#include "builder/CodeBuffer.h"
#include "platform/MessageBoxes.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <sys/stat.h>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct RegionMarkers {
    const char *titleBegin;
    const char *headBegin;
    const char *regionBeginPrefix;
    const char *regionBeginSuffix;
    const char *regionEnd;
};

RegionMarkers MarkersOf(EditorKind kind)
{
    if (kind == EditorKind::DwMx)
        return {"<!-- TemplateBeginEditable name=\"doctitle\" -->", "<!-- TemplateBeginEditable name=\"head\" -->",
                "<!-- TemplateBeginEditable name=\"Region_", "\" -->", "<!-- TemplateEndEditable -->"};
    return {"<!-- #BeginEditable \"doctitle\" -->", "<!-- #BeginEditable \"head\" -->",
            "<!-- #BeginEditable \"Region_", "\" -->", "<!-- #EndEditable -->"};
}

void ReplaceAll(CodeBuffer &buffer, const std::string &search, const std::string &replacement)
{
    buffer.MoveToStart();
    buffer.SubstituteText(search, replacement, SubstituteMode::AllMatches);
}

void NumberRegions(CodeBuffer &page, const RegionMarkers &markers)
{
    page.MoveToStart();
    for (int n = 1;; ++n) {
        const std::string comment = markers.regionBeginPrefix + std::to_string(n) + markers.regionBeginSuffix;
        if (page.SubstituteText("<!--BEGIN_EDITABLE-->", comment, SubstituteMode::FirstMatch) == 0) return;
    }
}

void CreateParentFolders(const std::string &path)
{
    std::error_code error;
    fs::create_directories(fs::path(path).parent_path(), error);
}

void RemoveFile(const std::string &path)
{
    std::error_code error;
    fs::remove(path, error);
}

bool Exists(const std::string &path)
{
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

// One entry of a folder tree as it stands: path, kind, size, time of change and file number.
using EntryState = std::tuple<std::string, mode_t, off_t, long, long, ino_t>;

std::vector<EntryState> TreeState(const std::string &folder)
{
    std::vector<EntryState> entries;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        struct stat status {};
        if (::lstat(it->path().c_str(), &status) != 0) return {};
        entries.emplace_back(it->path().string(), status.st_mode, status.st_size, status.st_mtim.tv_sec,
                             status.st_mtim.tv_nsec, status.st_ino);
    }
    if (error) return {};
    std::sort(entries.begin(), entries.end());
    return entries;
}

// The output folders as the generations of this run of the program left them.
class WrittenSites {
public:
    void Remember(const std::string &folder) { sites[folder] = TreeState(folder); }
    // True when the folder holds exactly what a generation of this run wrote there last.
    bool Unchanged(const std::string &folder) const
    {
        const auto site = sites.find(folder);
        return site != sites.end() && !site->second.empty() && site->second == TreeState(folder);
    }

private:
    std::map<std::string, std::vector<EntryState>> sites;
};

WrittenSites &ThisRun()
{
    static WrittenSites sites;
    return sites;
}

}  // namespace

StringList ReadStaticFileList(const std::string &path)
{
    CodeBuffer list;
    list.LoadFromFile(path);
    return list.Lines();
}

std::string StaticEntry(const std::string &line)
{
    return StripBadSlashes(FilePath(line));
}

std::string LinkTag(const StylesheetRow &row)
{
    return "<link rel=\"stylesheet\" type=\"text/css\" media=\"" + row.media + "\" href=\"" + row.folder +
           row.fileName + "\" />";
}

const char *EditorTemplateName(EditorKind kind)
{
    return kind == EditorKind::DwMx ? "index_dw_mx.dwt" : "index_ms_ew.dwt";
}

void ConvertToEditorTemplate(CodeBuffer &page, EditorKind kind)
{
    const RegionMarkers markers = MarkersOf(kind);
    ReplaceAll(page, "<!--BEGIN_EDITABLE_TITLE-->", markers.titleBegin);
    ReplaceAll(page, "<!--END_EDITABLE_TITLE-->", markers.regionEnd);
    ReplaceAll(page, "<!--BEGIN_EDITABLE_HEAD-->", markers.headBegin);
    ReplaceAll(page, "<!--END_EDITABLE_HEAD-->", markers.regionEnd);
    NumberRegions(page, markers);
    ReplaceAll(page, "<!--END_EDITABLE-->", markers.regionEnd);
}

std::string SkippedEntriesMessage(const StringList &skipped)
{
    std::string message = "These entries name a place outside the template's folder and were skipped:";
    for (const std::string &entry : skipped) message += "\n" + entry;
    return message;
}

SiteGenerator::SiteGenerator(const SiteSources &sources_, CodeBuffer &buffer_, QWidget *copyOwner_,
                             FileListed listFile_)
    : sources(sources_),
      buffer(buffer_),
      copyProgress(copyOwner_),
      listFile(std::move(listFile_)),
      outputFolder(sources_.templateDir + "/" + sources_.names.TempFolder),
      templateBounds(sources_.templateDir),
      outputBounds(outputFolder)
{
}

bool SiteGenerator::Admits(const std::string &relative, Access access)
{
    const bool writable = access == Access::Read || outputBounds.Holds(relative);
    if (writable && templateBounds.Holds(relative)) return true;
    skipped.push_back(relative);
    return false;
}

bool SiteGenerator::WriteSite()
{
    if (!templateBounds.Holds(sources.names.TempFolder)) {
        skipped.push_back(sources.names.TempFolder);
        return false;
    }
    ClearOutputFolder();
    std::error_code error;
    fs::create_directory(outputFolder, error);
    outputBounds = FolderBounds(outputFolder);
    CreateImageFolder();
    CopyStaticFiles();
    readableLayouts.clear();
    for (const LayoutRow &row : sources.rows.layouts)
        if (Admits(OptionFile(sources.templateDir, row), Access::Read)) readableLayouts.push_back(row);
    WritePage();
    for (const StylesheetRow &row : sources.stylesheets) WriteStyleSheet(row);
    return true;
}

// The first clearing in a run sends the output folder to the trash, unless the
// trash refuses; later ones delete what the run itself wrote for good, so
// that regenerating does not fill the trash.
void SiteGenerator::ClearOutputFolder()
{
    if (!ThisRun().Unchanged(outputFolder) && DeleteToRecycleBin(outputFolder)) return;
    if (Exists(outputFolder) && !platform::DeleteForGood(outputFolder))
        throw std::runtime_error("Cannot clear the folder \"" + outputFolder + "\".");
}

void SiteGenerator::CreateImageFolder()
{
    const std::string &imageRoot = sources.names.ImageRoot;
    if (imageRoot.empty()) return;
    if (!outputBounds.Holds(imageRoot)) {
        skipped.push_back(imageRoot);
        return;
    }
    std::error_code error;
    fs::create_directory(outputFolder + "/" + imageRoot, error);
}

void SiteGenerator::CopyStaticFiles()
{
    const std::string listPath = sources.templateDir + "/static_files.qrl";
    if (!fs::exists(listPath)) return;
    StringList lines;
    try {
        lines = ReadStaticFileList(listPath);
    } catch (const std::exception &) {
        platform::ShowMessage("Error Loading Static Files List...");
    }
    for (const std::string &line : lines) {
        const std::string entry = StaticEntry(line);
        if (entry.empty() || !Admits(entry, Access::ReadAndWrite)) continue;
        CopyIntoSite(entry);
        listFile(entry);
    }
}

void SiteGenerator::CopyIntoSite(const std::string &relative)
{
    const platform::CopyPaths paths{sources.templateDir + "/" + relative, outputFolder + "/" + relative,
                                    sources.templateDir};
    if (!ShellCopy(&copyProgress, paths, skipped))
        platform::ShowError(QString::fromStdString("Cannot copy \"" + relative + "\"."));
}

void SiteGenerator::Substitute()
{
    const RowTables &rows = sources.rows;
    SubstituteRowVariables(buffer, sources.templateDir, {readableLayouts, rows.colors, rows.fonts, rows.images});
}

void SiteGenerator::WritePage()
{
    buffer.LoadFromFile(sources.templateDir + "/index.html");
    for (const StylesheetRow &row : sources.stylesheets) {
        buffer.MoveToStart();
        buffer.SubstituteText(row.variable, LinkTag(row), SubstituteMode::FirstMatch);
    }
    Substitute();
    CopyImages();
    RemoveFile(GeneratedPage());
    buffer.SaveToFile(GeneratedPage());
}

void SiteGenerator::CopyImages()
{
    for (const ImageRow &row : sources.rows.images) {
        const std::string path = FilePath(row.folder + row.fileName);
        if (!Admits(path, Access::ReadAndWrite)) continue;
        listFile(row.folder + row.fileName);
        CopyIntoSite(path);
    }
}

void SiteGenerator::WriteStyleSheet(const StylesheetRow &row)
{
    const std::string path = FilePath(row.folder + row.fileName);
    // A row without a file has nothing to write and names nothing to skip.
    if (path.empty() || !Admits(path, Access::ReadAndWrite)) return;
    buffer.LoadFromFile(sources.templateDir + "/" + path);
    Substitute();
    const std::string target = outputFolder + "/" + path;
    CreateParentFolders(target);
    RemoveFile(target);
    buffer.SaveToFile(target);
    listFile(row.folder + row.fileName);
    lastStyleSheet = target;
}

void SiteGenerator::FinishSite(EditorTemplates chosen)
{
    listFile("index.html");
    RemoveFile(outputFolder + "/" + EditorTemplateName(EditorKind::MsEw));
    RemoveFile(outputFolder + "/" + EditorTemplateName(EditorKind::DwMx));
    if (chosen.dwMx) WriteEditorTemplate(EditorKind::DwMx);
    if (chosen.msEw) WriteEditorTemplate(EditorKind::MsEw);
    ThisRun().Remember(outputFolder);
}

void SiteGenerator::WriteEditorTemplate(EditorKind kind)
{
    buffer.LoadFromFile(GeneratedPage());
    ConvertToEditorTemplate(buffer, kind);
    buffer.SaveToFile(outputFolder + "/" + EditorTemplateName(kind));
    listFile(EditorTemplateName(kind));
    buffer.LoadFromFile(GeneratedPage());
}
