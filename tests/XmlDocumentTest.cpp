#include "library/ItemWalk.h"
#include "library/XmlDocument.h"

#include "MemoryLimit.h"
#include "TempFiles.h"
#include <gtest/gtest.h>

#include <QStringEncoder>

namespace {

using Rows = std::vector<std::vector<std::string>>;

class XmlDocumentTest : public ::testing::Test {
protected:
    std::string Write(const std::string &name, const std::string &bytes) const
    {
        folder.Write(name, bytes);
        return folder.Path(name);
    }
    Rows Read(const std::string &bytes) { return ReadItems(doc_, Write("read.xml", bytes), {"title", "var"}); }
    std::string TooManyAttributes() const
    {
        return "Cannot read the XML file \"" + folder.Path("read.xml") + "\". A tag holds more than 64 attributes.";
    }

    TempFolder folder;
    XmlDocument doc_;
};

// `text` (UTF-8) in another encoding, after a declaration naming it when `declared`.
std::string Encoded(const std::string &text, const char *encoding, bool declared = false)
{
    const std::string declaration = "<?xml version=\"1.0\" encoding=\"" + std::string(encoding) + "\"?>";
    QStringEncoder encoder(encoding);
    return QByteArray(encoder(QString::fromStdString(declared ? declaration + text : text))).toStdString();
}

// `count` attributes of one tag, or with " CDATA 'v'" as `each` their declarations.
std::string Attributes(int count, const std::string &each = "='v'")
{
    std::string attributes;
    for (int i = 0; i < count; ++i) attributes += " a" + std::to_string(i) + each;
    return attributes;
}

TEST_F(XmlDocumentTest, WalkReadsTheItemsOfTheFirstContainer)
{
    const std::pair<std::string, Rows> cases[] = {
        // From the first item on every later sibling counts, whatever its name.
        {"<anyroot><anybox><head><title>skipped</title></head>"
         "<item><var>v1</var><title>one</title><title>ignored</title></item>"
         "<other><title>two</title></other><item><title>three</title><var>v3</var></item>"
         "</anybox><second><item><title>never</title></item></second></anyroot>",
         {{"one", "v1"}, {"two", ""}, {"three", "v3"}}},
        {"<?xml version=\"1.0\"?>\n<s>\n  <c>\n    <item>\n      <title>a</title>\n    </item>\n"
         "    <!-- note -->\n    <?tool data?>\n    <item><title>b</title></item>\n  </c>\n</s>\n",
         {{"a", ""}, {"b", ""}}},
        {"<r><c><items><title>x</title></items></c></r>", {}},
        {"<r><c/><c2><item><title>x</title></item></c2></r>", {}},
        {"<!DOCTYPE r [<!ENTITY co \"Acme\">]><r><c><item><title>  a &amp; b &lt;&#233;&gt; &co; </title>"
         "<var><![CDATA[<b>&x]]></var></item><item><title></title><var/></item><item/></c></r>",
         {{"  a & b <\xC3\xA9> Acme ", "<b>&x"}, {"", ""}, {"", ""}}},
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r><c><item><title>caf\xE9</title></item></c></r>",
         {{"caf\xC3\xA9", ""}}},
        {"\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?><r><c><item><title>\xE2\x82\xAC</title></item></c></r>",
         {{"\xE2\x82\xAC", ""}}},
    };
    for (const auto &[bytes, rows] : cases) {
        EXPECT_EQ(Read(bytes), rows) << bytes;
        EXPECT_EQ(folder.Read("read.xml"), bytes) << "reading leaves the file alone";
        EXPECT_FALSE(doc_.IsOpen());
    }
}

TEST_F(XmlDocumentTest, FailuresNameTheFileOrTheFault)
{
    for (const char *value : {"a<b>x</b>", "<!-- c -->", "a<!-- c -->b", "a<![CDATA[b]]>"})
        EXPECT_EQ(FailureText([&] { Read("<r><c><item><title>" + std::string(value) + "</title></item></c></r>"); }),
                  "Element does not contain a single text node")
            << value;
    EXPECT_FALSE(doc_.IsOpen());
    const std::string missing = folder.Path("missing.xml");
    EXPECT_NE(FailureText([&] { doc_.Open(missing); }).find(missing), std::string::npos);
    EXPECT_THROW(doc_.Open(folder.Path()), std::runtime_error);
    EXPECT_THROW(doc_.Open(Write("empty.xml", "")), std::runtime_error);
    const std::string broken = FailureText([&] { Read("<r><c><item></c></r>"); });
    EXPECT_NE(broken.find(folder.Path("read.xml")), std::string::npos);
    EXPECT_NE(broken.find("mismatch"), std::string::npos) << broken;
    QString dtd = "<!DOCTYPE r [<!ENTITY l0 \"lollollollollollollollollollol\">";
    for (int level = 1; level <= 10; ++level)
        dtd += QString("<!ENTITY l%1 \"%2\">").arg(level).arg(QString("&l%1;").arg(level - 1).repeated(10));
    dtd += "]><r><c><item><title>&l10;</title></item></c></r>";
    const std::string failure = FailureText([&] { Read(dtd.toStdString()); });
    EXPECT_EQ(failure.rfind("Cannot parse", 0), 0u) << "entity expansion stays bounded: " << failure;
}

TEST_F(XmlDocumentTest, ExternalEntitiesAndDtdsAreNotLoaded)
{
    const std::string secret = Write("secret.txt", "TOPSECRET");
    Write("evil.dtd", "<!ENTITY fromdtd \"TOPSECRET\">");
    const std::string entityFile = Write(
        "entity.xml", "<!DOCTYPE r [<!ENTITY x SYSTEM \"file://" + secret + "\">]>\n"
                      "<r><c><item><title>&x;</title><var>before&x;after</var></item></c></r>");
    const std::string dtdFile = Write(
        "dtd.xml", "<!DOCTYPE r SYSTEM \"evil.dtd\">\n<r><c><item><title>&fromdtd;</title></item></c></r>");
    for (const std::string &path : {entityFile, dtdFile}) {
        std::string seen;
        seen += FailureText([&] {
            for (const auto &row : ReadItems(doc_, path, {"title", "var"})) seen += row[0] + row[1];
        });
        EXPECT_EQ(seen.find("TOPSECRET"), std::string::npos) << path;
    }
    doc_.Open(entityFile);
    doc_.SaveAs(folder.Path("copy.xml"));
    doc_.Close();
    EXPECT_EQ(folder.Read("copy.xml").find("TOPSECRET"), std::string::npos);
}

TEST_F(XmlDocumentTest, SetValuesAndSaveUnderAnotherNameInAnEncodingThatReadsBack)
{
    const Rows values{{"Back \xC3\xBC", "$a&b<c>", "  #FF0000 "}, {"\xE2\x82\xAC", "v2", ""}};
    const std::string preset = folder.Path("my preset %41.xml");
    // UTF-7 reads, but libxml2 writes its declaration in UTF-7 too.
    for (const auto &[declared, written] : {std::pair{"ISO-8859-1", "ISO-8859-1"}, {"UTF-7", "UTF-8"}}) {
        const std::string before = std::string("<?xml version=\"1.0\" encoding=\"") + declared +
                                   "\"?>\n<palette><set><!-- kept --><item><title>Back</title><note>n&#233;</note>"
                                   "<var>old</var></item><item><default>x</default></item></set><extra/></palette>\n";
        std::size_t index = 0;
        WalkItems(doc_, Write("colors.xml", before), [&](XmlElement &item) {
            for (std::size_t field = 0; field < 3; ++field)
                item.ChildNamed(std::vector<std::string>{"title", "var", "default"}[field]).SetText(values.at(index)[field]);
            ++index;
        }, [&] { doc_.SaveAs(preset); });
        EXPECT_EQ(folder.Read("colors.xml"), before);
        const std::string saved = folder.Read("my preset %41.xml");
        EXPECT_EQ(saved.rfind(std::string("<?xml version=\"1.0\" encoding=\"") + written + "\"?>", 0), 0u) << saved;
        EXPECT_EQ(ReadItems(doc_, preset, {"title", "var", "default", "note"}),
                  (Rows{{"Back \xC3\xBC", "$a&b<c>", "  #FF0000 ", "n\xC3\xA9"}, {"\xE2\x82\xAC", "v2", "", ""}}));
    }

    doc_.Open(preset);
    EXPECT_THROW(doc_.SaveAs(folder.Path("no/such/folder/p.xml")), std::runtime_error);
    doc_.Close();
    EXPECT_THROW(doc_.SaveAs(folder.Path("closed.xml")), std::logic_error);
}

TEST_F(XmlDocumentTest, AttributesAreCountedInTagsOnlyAndUpToSixtyFourTheFileOpens)
{
    const std::string sound = "<!--" + Attributes(100) + "--><?tool" + Attributes(100) + "?><r><c><item" +
                              Attributes(63) + " q=\"" + std::string(100, '=') + "\"><title>a=b=c" +
                              std::string(100, '=') + "</title><var><![CDATA[<x" + Attributes(100) +
                              ">]]></var></item></c></r>";
    for (const std::string &bytes : {sound, Encoded(sound, "UTF-16LE", true), Encoded(sound, "UTF-16BE", true),
                                     Encoded(sound, "UTF-32BE", true), Encoded(sound, "IBM037", true),
                                     "\xFF\xFE" + Encoded(sound, "UTF-16LE")})
        EXPECT_EQ(ReadItems(doc_, Write("sound.xml", bytes), {"var"}), Rows{{"<x" + Attributes(100) + ">"}});
    EXPECT_EQ(Read("<!DOCTYPE r [<!ATTLIST item" + Attributes(64, " CDATA 'v'") + ">]><r><c><item/></c></r>"),
              (Rows{{"", ""}}));
    EXPECT_EQ(FailureText([&] { Read("<r><c><item" + Attributes(65) + "/></c></r>"); }), TooManyAttributes());
    EXPECT_FALSE(doc_.IsOpen());
}

// One tag of 100,000 attributes kept the parser busy for minutes. In a child
// process with 10 s of processor time.
TEST_F(XmlDocumentTest, TagsWithThousandsOfAttributesAreRefusedInAnyEncodingEntityOrDeclaration)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string many = Attributes(100000);
    const std::string plain = "<r><c><item" + many + "><title>t</title></item></c></r>";
    const std::string files[] = {
        plain, "\xFF\xFE" + Encoded(plain, "UTF-16LE"), Encoded(plain, "UTF-32BE", true), Encoded(plain, "IBM037", true),
        "<!DOCTYPE r [<!ENTITY e \"&#60;item" + many + "/>\">]><r><c>&e;</c></r>",  // "<" as a character reference
        "<!DOCTYPE r [<!ENTITY % p \"<!ATTLIST item" + Attributes(100000, " CDATA 'v'") +
            ">\">%p;]><r><c><item/></c></r>",
    };
    EXPECT_EXIT(
        {
            LimitProcessorTime(10);
            int wrong = 0;
            for (const std::string &bytes : files) wrong += FailureText([&] { Read(bytes); }) != TooManyAttributes();
            std::filesystem::remove_all(folder.Path());
            std::_Exit(wrong);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace
