#include "TemplateFixture.h"
#include "builder/CodeBuffer.h"
#include "builder/Generation.h"

#include <Qsci/qsciscintilla.h>

namespace fs = std::filesystem;
using platform::BoxAnswer;

namespace {

TEST(GenerationText, EditorTemplatesNameAndNumberTheRegions)
{
    const std::vector<std::string> page = {
        "<!--begin_editable_title--><title>T</title><!--END_EDITABLE_TITLE-->",
        "<!--BEGIN_EDITABLE_HEAD--><meta /><!--END_EDITABLE_HEAD-->",
        "<!--BEGIN_EDITABLE-->a<!--END_EDITABLE--><!--begin_editable-->b<!--end_editable-->", "<p>no markers</p>"};
    const struct {
        EditorKind kind;
        std::string open, close;
    } kinds[] = {{EditorKind::DwMx, "<!-- TemplateBeginEditable name=\"", "<!-- TemplateEndEditable -->"},
                 {EditorKind::MsEw, "<!-- #BeginEditable \"", "<!-- #EndEditable -->"}};
    for (const auto &[kind, open, close] : kinds) {
        const auto region = [&](const std::string &name, const std::string &body) {
            return open + name + "\" -->" + body + close;
        };
        CodeBuffer buffer;
        buffer.SetLines(page);
        ConvertToEditorTemplate(buffer, kind);
        EXPECT_EQ(buffer.Lines(), (std::vector<std::string>{region("doctitle", "<title>T</title>"),
                                                            region("head", "<meta />"),
                                                            region("Region_1", "a") + region("Region_2", "b"),
                                                            "<p>no markers</p>"}));
    }
}

TEST(GenerationText, OnlyPathsStrictlyBelowTheFolderAreAdmitted)
{
    TempFolder folder;
    for (const char *file : {"t/a/file.txt", "secret.txt", "t2/secret.txt"}) folder.Write(file, "x");
    fs::create_directory_symlink(folder.Path(), folder.Path("t/link"));
    fs::create_directory_symlink("../t2", folder.Path("t/sibling"));
    const std::string base = folder.Path("t");
    const FolderBounds bounds(base);
    EXPECT_TRUE(LiesBelow(base, "a/file.txt"));
    EXPECT_TRUE(LiesBelow(base, "a/../new/x.css")) << "climbing back in stays inside";
    EXPECT_TRUE(LiesBelow(base, "/a/file.txt")) << "judged joined onto the folder";
    EXPECT_FALSE(LiesBelow(base + "/missing/", "a/../../secret.txt")) << "a missing folder ending in \"/\"";
    for (const char *outside : {"../secret.txt", "a/../../secret.txt", ".", "a/..", "", "link/secret.txt",
                                "sibling/secret.txt", "missing/../link/x"})
        EXPECT_FALSE(LiesBelow(base, outside) || bounds.Holds(outside)) << outside;
}

// A small template whose files the tests write; every table has one row or more.
class GenerationTest : public TemplateFixture {
protected:
    void AddSite(const std::string &page)
    {
        AddTemplate(
            "t", page,
            {{"style_files.xml", ItemFile("<item><filename>main.css</filename><folder>css\\</folder><var>%%CSS%%</var>"
                                          "<media>screen</media></item><item><filename>print.css</filename>"
                                          "<folder></folder><var>%%PRINT%%</var><media>print</media></item>")},
             {"css/main.css", "body {\r\n  color: %%INK%%;\r\n}"},
             {"print.css", "p { %%FONT%% }"},
             {"colors.xml", ItemFile("<item><title>Ink</title><var>%%INK%%</var><default>#102030</default></item>")},
             {"fonts.xml", ItemFile("<item><title>Body</title><font-family>Georgia, serif</font-family>"
                                    "<font-size>small</font-size><font-measure>px</font-measure>"
                                    "<font-weight>bold</font-weight><font-style></font-style>"
                                    "<font-decoration>none</font-decoration><var>%%FONT%%</var></item>")},
             {"layouts.xml", ItemFile("<item><title>Box</title><default>framed</default><folder>layouts/</folder>"
                                      "<var>%%BOX%%</var></item><item><title>Gap</title><default>empty</default>"
                                      "<folder>\\layouts\\</folder><var>%%GAP%%</var></item>")},
             {"layouts/framed.lyo", "<div style=\"border-color:%%INK%%\">"},
             {"layouts/empty.lyo", ""},
             {"images.xml", ItemFile("<item><image>Logo</image><url>%%GAP%%.png</url><folder>img/</folder>"
                                     "<var>%%LOGO%%</var></item>")},
             {"img/%%GAP%%.png", "png bytes"}});
    }

    void EnterFilesPage()
    {
        ui()->PageControl1->setCurrentWidget(ui()->TabSheet2);
        ui()->PageControl1->setCurrentWidget(ui()->TabSheet3);
    }
    std::string Output(const std::string &relative) const { return ReadTemplateFile("t", "template/" + relative); }
    bool OutputHas(const std::string &relative) const { return folder.Exists("templates/t/template/" + relative); }
};

TEST_F(GenerationTest, SiteIsWrittenByteForByteAndAMissingOptionFileEndsTheNextRunWithPaintingOn)
{
    AddSite("<head>%%css%%\r\n%%PRINT%%</head>\r\n<p>%%CSS%%</p>\r\n%%BOX%%x%%GAP%%y\r\n<img src=\"%%LOGO%%\" />\r\n"
                "<p style=\"%%FONT%%\"></p>");
    WriteTemplateFile("t", "static_files.qrl", "js/app.js\r\n\r\n   \r\\docs\\read me.txt\n\\/js/c.js\n");
    for (const char *file : {"js/app.js", "js/c.js", "docs/read me.txt"}) WriteTemplateFile("t", file, file);
    Open("t");
    ui()->CheckBox2->setChecked(true);
    ui()->CheckBox3->setChecked(true);
    EnterFilesPage();
    EXPECT_TRUE(boxes.Shown().empty()) << boxes.Texts().join('|').toStdString();
    EXPECT_EQ(Items(ui()->ListBox13),
              (QStringList{"js/app.js", "docs/read me.txt", "/js/c.js", "img/%%GAP%%.png", "css\\main.css", "print.css",
                           "index.html", "index_dw_mx.dwt", "index_ms_ew.dwt"}))
        << "in the order of writing";
    for (const char *file : {"js/app.js", "js/c.js", "docs/read me.txt"}) EXPECT_EQ(Output(file), file);
    const std::string font = "font-family:Georgia, serif;\r\nfont-size:smallpx;\r\nfont-weight:bold;\r\n"
                             "font-style:;\r\ntext-decoration:none;\r\n";
    EXPECT_EQ(Output("index.html"),
              "<head><link rel=\"stylesheet\" type=\"text/css\" media=\"screen\" href=\"css\\main.css\" />\r\n"
              "<link rel=\"stylesheet\" type=\"text/css\" media=\"print\" href=\"print.css\" /></head>\r\n"
              "<p>%%CSS%%</p>\r\n"
              "<div style=\"border-color:#102030\">\r\nxy\r\n"
              "<img src=\"img/%%GAP%%.png\" />\r\n"
              "<p style=\"" + font + "\"></p>");
    EXPECT_EQ(Output("css/main.css"), "body {\r\n  color: #102030;\r\n}");
    EXPECT_EQ(Output("print.css"), "p { " + font + " }");
    EXPECT_EQ(Output("img/%%GAP%%.png"), "png bytes");
    EXPECT_EQ(Window().HtmlView()->text().toStdString(), Output("index.html"));
    EXPECT_EQ(Window().CssView()->text().toStdString(), Output("print.css")) << "the last style sheet is shown";

    // The next run stops at the missing option file, after the static files.
    fs::remove(folder.Path("templates/t/layouts/framed.lyo"));
    EXPECT_THROW(Window().PageControl1Change(), std::runtime_error);
    EXPECT_TRUE(Window().updatesEnabled());
    EXPECT_FALSE(OutputHas("index.html"));
    EXPECT_EQ(Items(ui()->ListBox13), (QStringList{"js/app.js", "docs/read me.txt", "/js/c.js"}))
        << "what was listed stays";
    EXPECT_EQ(Output("js/app.js"), "js/app.js");
}

TEST_F(GenerationTest, EveryEntryToTheFilesPageAndEveryInputOnTheCheckBoxesRegenerates)
{
    AddSite("%%INK%%<!--BEGIN_EDITABLE-->a<!--END_EDITABLE-->");
    Open("t");
    EnterFilesPage();
    EXPECT_FALSE(OutputHas("index_dw_mx.dwt"));
    ui()->CheckBox2->click();
    ui()->CheckBox3->click();
    EXPECT_EQ(Output("index_ms_ew.dwt"), "#102030<!-- #BeginEditable \"Region_1\" -->a<!-- #EndEditable -->");
    EXPECT_EQ(Window().HtmlBuffer().Text(), Output("index.html")) << "the buffer ends on the generated page";

    ui()->CheckBox2->click();
    EXPECT_FALSE(OutputHas("index_dw_mx.dwt"));
    EXPECT_TRUE(OutputHas("index_ms_ew.dwt"));
    EXPECT_EQ(Items(ui()->ListBox13).last(), "index_ms_ew.dwt");

    // Any character typed on a focused box regenerates; the space bar also toggles it.
    fs::remove(folder.Path("templates/t/template/index.html"));
    QTest::keyClick(ui()->CheckBox3, Qt::Key_Tab);
    EXPECT_FALSE(OutputHas("index.html")) << "Tab types nothing";
    QTest::keyClick(ui()->CheckBox3, Qt::Key_A);
    EXPECT_TRUE(OutputHas("index.html"));
    QTest::keyClick(ui()->CheckBox3, Qt::Key_Space);
    EXPECT_FALSE(ui()->CheckBox3->isChecked());
    EXPECT_FALSE(OutputHas("index_ms_ew.dwt"));

    // Entering recycles the output folder and goes on past an unreadable static file list.
    WriteTemplateFile("t", "template/stray.txt", "left over");
    fs::create_directories(folder.Path("templates/t/static_files.qrl"));
    Window().ColorTable().rows[0].value = "#ABCDEF";
    EnterFilesPage();
    EXPECT_FALSE(OutputHas("stray.txt"));
    EXPECT_EQ(Output("index.html"), "#ABCDEF<!--BEGIN_EDITABLE-->a<!--END_EDITABLE-->");
    ui()->PageControl1->setCurrentWidget(ui()->TabSheet2);
    EXPECT_EQ(boxes.Texts(), QStringList{"Error Loading Static Files List..."}) << "leaving the page generates nothing";
}

TEST_F(GenerationTest, OutputFolderAndPreviewMoveOffThePicturesTheRowsKeepThere)
{
    // The default names collide too: they are numbered past the layout folder and the static files.
    AddTemplate("t", "%%LOGO%% %%PAGE%% %%BOX%%",
                {{"images.xml", ItemFile("<item><image>Logo</image><url>logo.jpg</url><folder>template/</folder>"
                                         "<var>%%LOGO%%</var></item><item><image>Page</image><url>index_temp.html"
                                         "</url><folder></folder><var>%%PAGE%%</var></item>")},
                 {"layouts.xml", ItemFile("<item><title>Box</title><default>wide</default><folder>template-2/</folder>"
                                          "<var>%%BOX%%</var></item>")},
                 {"template/logo.jpg", "OWN"}, {"index_temp.html", "USER PAGE"}, {"template-2/wide.lyo", "<b>"},
                 {"static_files.qrl", "template-3/app.js\nindex_temp-2.html\n"}, {"template-3/app.js", "APP"},
                 {"index_temp-2.html", "STATIC"}});
    AddTemplate("p", "%%LOGO%%",
                {{"images.xml", ItemFile("<item><image>Logo</image><url>logo.jpg</url><folder>images/</folder>"
                                         "<var>%%LOGO%%</var></item>")},
                 {"images/logo.jpg", "OWN"}});
    folder.Write("sentinel/keep.txt", "keep");
    Open("t");
    EnterFilesPage();
    EXPECT_EQ(Window().Names().TempFolder, "template-4");
    EXPECT_EQ(Window().Names().TempFile, "index_temp-3.html");
    for (const auto &[file, content] : {std::pair{"template/logo.jpg", "OWN"}, {"index_temp.html", "USER PAGE"},
                                        {"index_temp-2.html", "STATIC"}, {"template-3/app.js", "APP"},
                                        {"template-4/template/logo.jpg", "OWN"}, {"template-4/template-3/app.js", "APP"}})
        EXPECT_EQ(ReadTemplateFile("t", file), content) << file;
    EXPECT_TRUE(ReadTemplateFile("t", "template-4/index.html").starts_with("template/logo.jpg index_temp.html <b>"));

    Open("p");
    EnterFilesPage();
    EXPECT_EQ(Window().Names().TempFolder, "template");
    // The row moves into the output folder, where the user keeps an edited picture.
    folder.Write("templates/p/template/images/edited.jpg", "MINE");
    Window().ImageTable().rows[0] = {"Logo", "edited.jpg", "template/images/", "%%LOGO%%"};
    EnterFilesPage();
    EXPECT_EQ(Window().Names().TempFolder, "template-2");
    EXPECT_EQ(ReadTemplateFile("p", "template/images/edited.jpg"), "MINE");
    EXPECT_EQ(ReadTemplateFile("p", "template-2/template/images/edited.jpg"), "MINE");
    EXPECT_EQ(folder.Read("sentinel/keep.txt"), "keep");
    EXPECT_TRUE(boxes.Shown().empty()) << boxes.Texts().join('|').toStdString();
}

TEST_F(GenerationTest, EntriesAndOutputFolderOutsideTheTemplateAreSkippedAndNamedOnce)
{
    AddTemplate("t", "%%CSS%% %%OUT%% %%LOGO%%",
                {{"quorlin_settings.xml", ItemFile("<item><tempfolder>..</tempfolder></item>")},
                 {"static_files.qrl", "../outside.txt\nok.txt\nsub/../../outside.txt\n"},
                 {"ok.txt", "ok"},
                 {"layouts.xml", ItemFile("<item><title>Out</title><default>far</default><folder>../</folder>"
                                          "<var>%%OUT%%</var></item><item><title>Up</title><default>up</default>"
                                          "<folder>layouts/</folder><var>%%UP%%</var></item>")},
                 {"images.xml", ItemFile("<item><image>Out</image><url>outside.txt</url><folder>../</folder>"
                                         "<var>%%LOGO%%</var></item>")},
                 {"style_files.xml", ItemFile("<item><filename>evil.css</filename><folder>../../</folder>"
                                              "<var>%%CSS%%</var><media>all</media></item>"
                                              "<item><var>%%NONE%%</var></item>")}});
    folder.Write("templates/outside.txt", "secret");
    folder.Write("templates/Far.lyo", "far away");  // named as written: the folder outside is not listed
    folder.Write("evil.css", "sheet");
    fs::create_directories(folder.Path("templates/t/layouts"));
    fs::create_symlink(folder.Path("templates/Far.lyo"), folder.Path("templates/t/layouts/up.LYO"));
    Open("t");
    ScriptedBoxes shown;
    EnterFilesPage();
    ASSERT_EQ(shown.Shown().size(), 1u) << shown.Texts().join('|').toStdString();
    EXPECT_EQ(shown.Shown()[0].kind, platform::BoxKind::Plain);
    EXPECT_EQ(shown.Texts()[0].toStdString(),
              SkippedEntriesMessage({"../outside.txt", "sub/../../outside.txt", "../far.lyo",
                                     "layouts/up.LYO", "../outside.txt", "../../evil.css"}));
    EXPECT_EQ(Items(ui()->ListBox13), (QStringList{"ok.txt", "index.html"}));
    EXPECT_EQ(Output("index.html"),
              "<link rel=\"stylesheet\" type=\"text/css\" media=\"all\" href=\"../../evil.css\" /> %%OUT%% "
              "../outside.txt");
    EXPECT_FALSE(folder.Exists("templates/evil.css"));
    EXPECT_EQ(folder.Read("templates/outside.txt"), "secret");
    EXPECT_FALSE(folder.Exists("templates/t/outside.txt"));
    EXPECT_FALSE(OutputHas("outside.txt"));
    EXPECT_TRUE(folder.Exists("templates/t/index.html")) << "the folder above is never recycled";
    ui()->Edit2->setText(QString::fromStdString(folder.Path("target")));
    Window().ExportTemplate();
    EXPECT_FALSE(folder.Exists("target/templates"));
}

// The regular files and links below `folder`, relative to it.
std::vector<std::string> FilesBelow(const std::string &folder)
{
    std::vector<std::string> files;
    for (const auto &entry : fs::recursive_directory_iterator(folder))
        if (!entry.is_directory() || entry.is_symlink()) files.push_back(entry.path().lexically_relative(folder));
    std::sort(files.begin(), files.end());
    return files;
}

std::size_t TrashedCount()
{
    const fs::path trash = qgetenv("XDG_DATA_HOME").toStdString() + "/Trash/files";
    return fs::exists(trash) ? std::distance(fs::directory_iterator(trash), {}) : 0;
}

// Replacing a link left in an export target is checked on the copy itself (ShellTest).
TEST_F(GenerationTest, LinksInCopiedFoldersBecomeWhatTheyNameOrAreNamedAndSkipped)
{
    TempFolder outside;
    outside.Write("autostart/x.desktop", "mine");
    AddTemplate("t", "<p></p>", {{"static_files.qrl", "static\n"}, {"static/app.js", "js"}, {"css/main.css", "css"}});
    for (const auto &[to, link] : std::vector<std::pair<std::string, std::string>>{
             {"../css/main.css", "main.css"}, {"../css", "css"}, {outside.Path("autostart"), "autostart"}})
        fs::create_symlink(to, folder.Path("templates/t/static/" + link));
    Open("t");
    EnterFilesPage();
    EXPECT_EQ(boxes.Texts(), QStringList{QString::fromStdString(SkippedEntriesMessage({"static/autostart"}))});
    EXPECT_EQ(FilesBelow(folder.Path("templates/t/template")),
              (std::vector<std::string>{"index.html", "static/app.js", "static/css/main.css", "static/main.css"}));
}

TEST_F(GenerationTest, OnlyTheFirstClearingOfARunGoesToTheTrashAndOneTheTrashRefusesGoesForGood)
{
    TempFolder outside;
    outside.Write("secret/keep.txt", "mine");
    const auto untouched = outside.Snapshot("");
    AddSite("%%INK%%");
    WriteTemplateFile("t", "static_files.qrl", "js/app.js\n");
    WriteTemplateFile("t", "js/app.js", "js");
    const std::vector<std::string> site = {"css/main.css", "img/%%GAP%%.png", "index.html", "js/app.js", "print.css"};
    WriteTemplateFile("t", "template/stale.txt", "from before");
    fs::create_directory_symlink(outside.Path("secret"), folder.Path("templates/t/template/escape"));
    Open("t");

    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(folder.Path("templates/t/index.html")));
    for (int run = 0; run < 3; ++run) {
        EnterFilesPage();
        EXPECT_EQ(FilesBelow(folder.Path("templates/t/template")), site) << "run " << run;
    }
    qputenv("XDG_DATA_HOME", dataHome);
    EXPECT_EQ(outside.Snapshot(""), untouched);

    const std::size_t trashed = TrashedCount();
    WriteTemplateFile("t", "template/notes.txt", "the user's");
    for (int run = 0; run < 3; ++run) EnterFilesPage();
    EXPECT_EQ(TrashedCount(), trashed + 1) << "the folder the user changed, once";
    ui()->CheckBox2->click();
    EXPECT_EQ(TrashedCount(), trashed + 1);
    EXPECT_TRUE(OutputHas("index_dw_mx.dwt"));
    EXPECT_TRUE(boxes.Shown().empty()) << boxes.Texts().join('|').toStdString();
}

}  // namespace
