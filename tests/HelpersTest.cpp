#include "app/Helpers.h"
#include "platform/FileBytes.h"
#include "platform/FolderSearch.h"
#include "tests/TempFiles.h"

#include <QApplication>
#include <QPalette>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
namespace fs = std::filesystem;

namespace {

TEST(FolderSearchTest, MasksUseWildcardsAndFoldAsciiCaseOnly)
{
    const std::tuple<const char *, const char *, bool> cases[] = {
        {"blue.xml", "*.XML", true}, {"README", "*.*", true},     {"aXbYbZc", "a*b*c", true},
        {"ab.lyo", "?.lyo", false},  {"blue.xmlx", "*.xml", false}, {"\xC3\xA9", "\xC3\x89", false}};
    for (const auto &[name, mask, matches] : cases) EXPECT_EQ(platform::MatchesMask(name, mask), matches) << name;
}

class HelpersFolderTest : public ::testing::Test {
protected:
    TempFolder temp;
};

TEST_F(HelpersFolderTest, WholeFileReadsTakeRegularFilesWithinTheirCapAndWritesNeverGoThroughALink)
{
    temp.Write("page.html", "12345");
    fs::create_symlink("/dev/zero", temp.Path("zero"));
    std::string bytes = "old";
    EXPECT_TRUE(ReadFileBytes(temp.Path("page.html"), 5, bytes));
    EXPECT_EQ(bytes, "12345");
    EXPECT_EQ(ReadFileBytes(temp.Path("page.html"), 4, bytes).error, EFBIG);
    EXPECT_EQ(ReadFileBytes(temp.Path("zero"), kPageFileCap, bytes).Text(), "Not a regular file");
    EXPECT_FALSE(ReadFileBytes(temp.Path(""), kPageFileCap, bytes));
    EXPECT_EQ(bytes, "");

    temp.Write("outside/kept.txt", "mine");
    fs::create_symlink(temp.Path("outside/kept.txt"), temp.Path("link.txt"));
    fs::permissions(temp.Path("page.html"), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(WriteFileBytes(temp.Path("link.txt"), "new"));
    EXPECT_TRUE(WriteFileBytes(temp.Path("page.html"), "new"));
    EXPECT_EQ(temp.Read("outside/kept.txt"), "mine");
    EXPECT_EQ(temp.Read("link.txt"), "new");
    EXPECT_EQ(fs::status(temp.Path("page.html")).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    // A failed write leaves the old file whole and nothing beside it.
    fs::create_directory(temp.Path("folder"));
    EXPECT_FALSE(WriteFileBytes(temp.Path("folder"), "x"));
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.Path()), fs::directory_iterator()), 5);
    // Any name the folder takes can be written and replaced.
    const std::string longest(255, 'n');
    EXPECT_TRUE(WriteFileBytes(temp.Path(longest), "first"));
    EXPECT_TRUE(CopyFileBytes(temp.Path("page.html"), temp.Path(longest)));
    EXPECT_EQ(temp.Read(longest), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.Path()), fs::directory_iterator()), 6);
}

TEST_F(HelpersFolderTest, ListSubfoldersAppendsPlainFoldersOnly)
{
    for (const char *folder : {"plain", "Alpha.d", "locked", ".hidden"}) fs::create_directory(temp.Path(folder));
    fs::permissions(temp.Path("locked"), fs::perms::owner_write, fs::perm_options::remove);
    temp.Write("file.txt", "x");

    StringList list{"kept"};
    ListSubfolders(temp.Path("*.*"), faDirectory, list);
    ListSubfolders(temp.Path("missing/*.*"), faDirectory, list);
    EXPECT_THAT(list, ElementsAre("kept", "Alpha.d", "plain"));
}

TEST_F(HelpersFolderTest, ListFilesReplacesTheListWithEveryMatchAndNamesOnDiskFoldAsciiCase)
{
    for (const char *file : {"b.xml", "A.XML", ".xml", "notes.txt"}) temp.Write(file, "");
    fs::create_directory(temp.Path("sub"));
    for (const auto &[asked, onDisk] : {std::pair{"a.xml", "A.XML"}, {"b.xml", "b.xml"}, {"gone.xml", "gone.xml"}})
        EXPECT_EQ(platform::NameOnDisk(temp.Path(), asked), onDisk);
    StringList list{"old"};
    ListFiles(list, temp.Path(), "*.*");
    EXPECT_THAT(list, ElementsAre(".", "..", ".xml", "A.XML", "b.xml", "notes.txt", "sub"));
    ListFilesNoExt(list, temp.Path(), "*.xml");
    EXPECT_THAT(list, ElementsAre("", "A", "b"));
    ListFiles(list, temp.Path("missing/"), "*.*");
    EXPECT_TRUE(list.empty());
}

TEST_F(HelpersFolderTest, CopyFolderTreeAddsWhatIsMissingByEntryType)
{
    for (const auto &[name, content] : {std::pair{"src/logo.jpg", "backup"}, {"src/README", "no extension"},
                                        {"src/photos.2024/a.jpg", "dotted folder"}, {"src/deep/inner.jpg", "inner"},
                                        {"dst/logo.jpg", "edited"}, {"dst/mine.jpg", "mine"}})
        temp.Write(name, content);
    fs::create_directory_symlink("..", temp.Path("src/deep/up"));
    CopyFolderTree(temp.Path("src/"), temp.Path("dst/"));
    std::string copied;
    for (const char *file : {"logo.jpg", "mine.jpg", "README", "photos.2024/a.jpg", "deep/inner.jpg"})
        copied += temp.Read("dst/" + std::string(file)) + "|";
    EXPECT_EQ(copied, "edited|mine|no extension|dotted folder|inner|");
    EXPECT_FALSE(temp.Exists("dst/deep/up")) << "a link to a folder being copied is not followed again";
}

TEST(HelpersTextTest, DigitsSlashesAndColoursIncludingThePalettes)
{
    EXPECT_TRUE(IsAllDigits("") && IsAllDigits("0123456789"));
    for (const char *text : {"12px", "1.5", "-1", " 1"}) EXPECT_FALSE(IsAllDigits(text)) << text;
    const std::pair<const char *, const char *> slashes[] = {
        {" /css/ ", "css"}, {"\\images\\logo.gif", "images\\logo.gif"}, {"//a", "/a"},
        {"/\\a", "a"}, {"a\\/", "a"}, {"a/\\", "a/"}, {"\t\nimages\r\n", "images"}, {"   ", ""}, {"", ""}};
    for (const auto &[text, stripped] : slashes) EXPECT_EQ(StripBadSlashes(text), stripped) << text;
    const std::pair<const char *, TColor> parsed[] = {
        {"#0A0B0C", 0x0C0B0A}, {"#FF8000", 0x0080FF}, {"x12", 0x12},           {"#12345", 0x53412},
        {"", kColorNone},      {"#", kColorNone},      {"#12 456", kColorNone}, {"#-12", kColorNone},
        {"#+12", kColorNone},  {"#0x1234", kColorNone}, {"transparent", kColorNone}};
    for (const auto &[text, color] : parsed) EXPECT_EQ(HtmlToColor(text), color) << text;

    const QPalette saved = QApplication::palette();
    QPalette palette = saved;
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    palette.setColor(QPalette::Window, QColor(7, 8, 9));
    QApplication::setPalette(palette);
    const std::pair<TColor, const char *> written[] = {
        {0x0C0B0A, "#0A0B0C"}, {0x0080FF, "#FF8000"}, {kColorNone, "#FFFFFF"}, {TColor(0xFF000005u), "#010203"},
        {TColor(0xFF00001Eu), "#070809"}};
    for (const auto &[color, html] : written) EXPECT_EQ(ColorToHtml(color), html) << html;
    QApplication::setPalette(saved);
}

}  // namespace
