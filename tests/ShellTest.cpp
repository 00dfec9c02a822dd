#include "app/Helpers.h"
#include "platform/Shell.h"
#include "tests/MemoryLimit.h"
#include "tests/ScriptedBoxes.h"
#include "tests/TempFiles.h"

#include <QApplication>
#include <QProgressDialog>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using platform::BoxAnswer;
using platform::BoxKind;

namespace {

long Shown(const ScriptedBoxes &boxes, BoxKind kind)
{
    return std::ranges::count(boxes.Shown(), kind, &platform::ShownBox::kind);
}

class ShellTest : public ::testing::Test {
protected:
    TempFolder temp;
};

TEST_F(ShellTest, TrashedFolderCanBeMovedBack)
{
    temp.Write("site/css/style.css", "css");
    ScriptedBoxes boxes;
    ASSERT_TRUE(DeleteToRecycleBin(temp.Path("site/")));
    fs::rename(qEnvironmentVariable("XDG_DATA_HOME").toStdString() + "/Trash/files/site", temp.Path("site"));
    EXPECT_EQ(temp.Read("site/css/style.css"), "css");
    EXPECT_FALSE(DeleteToRecycleBin(temp.Path("missing")));
    EXPECT_FALSE(DeleteToRecycleBin(""));
    EXPECT_TRUE(boxes.Shown().empty());

    // The trash goes to the data folder even before that exists.
    const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(temp.Path("fresh/data")));
    EXPECT_TRUE(DeleteToRecycleBin(temp.Path("site/css/style.css")));
    EXPECT_EQ(temp.Read("fresh/data/Trash/files/style.css"), "css");
    qputenv("XDG_DATA_HOME", savedDataHome);
}

TEST_F(ShellTest, ShellCopyRenamesOnCollisionMakesTargetFoldersAndRefusesImpossibleCopies)
{
    for (const auto &[name, content] : {std::pair{"src/logo.gif", "new"}, {"src/README", "readme"},
                                        {"src/images/a.jpg", "a"}, {"out/logo.gif", "old"}, {"out/README", "old"},
                                        {"out/images/b.jpg", "b"}})
        temp.Write(name, content);
    fs::create_directory_symlink("..", temp.Path("src/images/up"));
    const std::tuple<const char *, const char *, bool> copies[] = {
        {"src/logo.gif", "out/logo.gif", true}, {"src/logo.gif", "out/logo.gif", true}, {"src/README", "out", true},
        {"src/images", "out", true}, {"src/README", "made/sub/README", true}, {"missing", "out", false},
        {"src", "src", false}};
    StringList skipped;
    for (const auto &[from, to, copied] : copies)
        EXPECT_EQ(ShellCopy(nullptr, {temp.Path(from), temp.Path(to), temp.Path("src")}, skipped), copied)
            << from << " to " << to;
    std::string contents;
    for (const char *name : {"out/logo.gif", "out/logo - Copy.gif", "out/logo - Copy (2).gif", "out/README - Copy",
                             "out/images - Copy/a.jpg", "made/sub/README"})
        contents += temp.Read(name) + " ";
    EXPECT_EQ(contents, "old new new readme a readme ");
    EXPECT_EQ(temp.Read("out/images - Copy/up/logo.gif"), "new") << "a link within the root is copied as what it names";
    EXPECT_FALSE(temp.Exists("out/images - Copy/up/images")) << "a folder is not copied into itself";
    EXPECT_TRUE(skipped.empty());
    EXPECT_FALSE(temp.Exists("src/src"));
}

TEST_F(ShellTest, SecondExportAsksBeforeReplacingEachFileAndAFirstOneMakesTheFolder)
{
    const struct {
        std::deque<BoxAnswer> answers;
        std::string result;
        long questions, errors;
    } cases[] = {
        {{BoxAnswer::Yes, BoxAnswer::No, BoxAnswer::Yes}, "new old new new ", 3, 0},
        {{BoxAnswer::YesToAll}, "new new new new ", 1, 0},
        {{BoxAnswer::Yes, BoxAnswer::Cancel}, "new old old  ", 2, 1},
    };
    for (const auto &[answers, result, questions, errors] : cases) {
        fs::remove_all(temp.Path("export"));
        for (const std::string name : {"a", "b", "c"}) temp.Write("export/template/" + name, "old");
        for (const std::string name : {"a", "b", "c", "d"}) temp.Write("template/" + name, "new");
        ScriptedBoxes boxes(answers);
        CopyFolderWithShell(temp.Path("template"), temp.Path("export"));
        std::string contents;
        for (const std::string name : {"a", "b", "c", "d"}) contents += temp.Read("export/template/" + name) + " ";
        EXPECT_EQ(contents, result);
        EXPECT_EQ(Shown(boxes, BoxKind::Replace), questions) << result;
        EXPECT_EQ(Shown(boxes, BoxKind::Error), errors) << result;
        EXPECT_EQ(boxes.Texts().count("Operation Aborted... "), errors);
    }
    ScriptedBoxes boxes;
    temp.Write("template/sub/e", "e");
    CopyFolderWithShell(temp.Path("template"), temp.Path("backup"));
    EXPECT_EQ(temp.Read("backup/d") + temp.Read("backup/sub/e"), "newe");
    CopyFolderWithShell(temp.Path("missing"), temp.Path("export"));
    EXPECT_EQ(Shown(boxes, BoxKind::Error), 1) << "only for the missing source";
}

TEST_F(ShellTest, QuestionsStayUncoveredHoweverLongTheUserTakes)
{
    temp.Write("export/template/a", "old");
    temp.Write("template/a", "new");
    bool covered = false;
    platform::SetBoxResponder([&covered](const platform::ShownBox &) {
        QTest::qWait(4500);
        covered = std::ranges::any_of(QApplication::topLevelWidgets(), [](const QWidget *window) {
            return qobject_cast<const QProgressDialog *>(window) && window->isVisible();
        });
        return BoxAnswer::Yes;
    });
    CopyFolderWithShell(temp.Path("template"), temp.Path("export"));
    platform::SetBoxResponder({});
    EXPECT_FALSE(covered);
    EXPECT_EQ(temp.Read("export/template/a"), "new");
}

TEST_F(ShellTest, ReplacingThatFailsPartWayLeavesTheOldFileWhole)
{
    temp.Write("export/template/a", "old");
    temp.Write("template/a", std::string(1 << 16, 'n'));
    ScriptedBoxes boxes({BoxAnswer::Yes});
    const pid_t child = fork();
    if (child == 0) {
        // Writes past 4 KiB fail with EFBIG instead of ending the process.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        CopyFolderWithShell(temp.Path("template"), temp.Path("export"));
        _exit(0);
    }
    ASSERT_EQ(waitpid(child, nullptr, 0), child);
    EXPECT_EQ(temp.Read("export/template/a"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.Path("export/template")), {}), 1) << "no temporary is left";
}

bool HasLinks(const std::string &folder)
{
    const fs::recursive_directory_iterator entries(folder);
    return std::any_of(begin(entries), end(entries), [](const fs::directory_entry &entry) { return entry.is_symlink(); });
}

TEST_F(ShellTest, CopiesFollowLinksOnlyWithinTheSourceRootAndNeverWriteThroughOrMakeOne)
{
    TempFolder outside;
    outside.Write("secret/x.desktop", "mine");
    const auto untouched = outside.Snapshot("");
    for (const auto &[name, content] : {std::pair{"t/css/main.css", "css"}, {"t/img/a.png", "png"}})
        temp.Write(name, content);
    fs::create_directories(temp.Path("t/static"));
    for (const auto &[to, link] : std::vector<std::pair<std::string, std::string>>{
             {"../css/main.css", "main.css"}, {"../img", "img"}, {outside.Path("secret"), "autostart"},
             {outside.Path("secret/x.desktop"), "x.desktop"}, {".", "loop"}})
        fs::create_symlink(to, temp.Path("t/static/" + link));

    StringList skipped;
    ASSERT_TRUE(ShellCopy(nullptr, {temp.Path("t/static"), temp.Path("site/static"), temp.Path("t")}, skipped));
    EXPECT_EQ(temp.Read("site/static/main.css") + temp.Read("site/static/img/a.png"), "csspng");
    EXPECT_EQ(skipped, (StringList{"static/autostart", "static/x.desktop"}));
    EXPECT_FALSE(temp.Exists("site/static/loop"));
    EXPECT_FALSE(HasLinks(temp.Path("site")));

    // Links standing in a target, as an older copy left them: asked about as
    // files, never written through, and replaced when the user says so.
    for (const BoxAnswer answer : {BoxAnswer::No, BoxAnswer::Cancel, BoxAnswer::Yes}) {
        fs::remove_all(temp.Path("export"));
        fs::create_directories(temp.Path("export/static"));
        fs::create_directory_symlink(outside.Path("secret"), temp.Path("export/static/img"));
        fs::create_symlink(outside.Path("secret/x.desktop"), temp.Path("export/static/main.css"));
        ScriptedBoxes boxes({answer, answer});
        CopyFolderWithShell(temp.Path("site/static"), temp.Path("export"));
        EXPECT_EQ(Shown(boxes, BoxKind::Replace), answer == BoxAnswer::Cancel ? 1 : 2);
        EXPECT_EQ(boxes.Texts().count("Operation Aborted... "), answer == BoxAnswer::Cancel ? 1 : 0);
        EXPECT_EQ(HasLinks(temp.Path("export")), answer != BoxAnswer::Yes);
        EXPECT_EQ(outside.Snapshot(""), untouched);
    }
    EXPECT_EQ(temp.Read("export/static/main.css") + temp.Read("export/static/img/a.png"), "csspng");
}

// Searching the free names from the first for every copy takes minutes; two
// links to the next level on each of 30 levels would make 2^30 copies.
TEST_F(ShellTest, ManyCopiesOntoOneTargetAndLinksToOneFolderStayWithinLinearTime)
{
    constexpr int kCopies = 10000;
    temp.Write("logo.png", "p");
    for (int level = 0; level < 30; ++level) {
        const std::string name = "t/d" + std::to_string(level) + "/";
        temp.Write(name + "f", "f");
        for (const char *link : {"a", "b"}) fs::create_symlink("../d" + std::to_string(level + 1), temp.Path(name + link));
    }
    EXPECT_EXIT(
        {
            LimitProcessorTime(20);
            alarm(60);
            platform::CopyProgress series(nullptr);
            StringList skipped;
            for (int n = 0; n < kCopies; ++n)
                ShellCopy(&series, {temp.Path("logo.png"), temp.Path("site/logo.png"), temp.Path()}, skipped);
            ShellCopy(nullptr, {temp.Path("t/d0"), temp.Path("copy"), temp.Path("t")}, skipped);
            _exit(0);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(temp.Read("site/logo - Copy (" + std::to_string(kCopies - 1) + ").png"), "p");
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.Path("site")), {}), kCopies);
    EXPECT_EQ(temp.Read("copy/a/a/f"), "f") << "a linked folder is copied once";
}

TEST_F(ShellTest, DocumentsFolderIsEmptyUntilItExists)
{
    const std::string userDirs = qEnvironmentVariable("XDG_CONFIG_HOME").toStdString() + "/user-dirs.dirs";
    fs::create_directories(fs::path(userDirs).parent_path());
    std::ofstream(userDirs) << "XDG_DOCUMENTS_DIR=\"" << temp.Path("Docs") << "\"\n";
    EXPECT_EQ(GetMyDocumentsFolder(), "");
    fs::create_directory(temp.Path("Docs"));
    EXPECT_EQ(GetMyDocumentsFolder(), temp.Path("Docs"));
    fs::remove(userDirs);
}

}  // namespace
