// quillmar-cli parse: one engine's readers over a page, and the JSON and TSV output.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "engines/web/WebReadersSink.h"
#include "net/ServiceHosts.h"

namespace qm {
namespace {

ResultRow Row(std::vector<std::string> items) {
    ResultRow r;
    r.subItems = std::move(items);
    return r;
}

TEST(ParseCommand, RunsTheNamedEnginesReadersWithItsHostOrTheGivenOne) {
    ResetServiceHosts();
    const std::string page =
        "<a href=\"/cgi-bin/query?kl=XX&q=a&stq=10\">2</a>"
        "<dl><dt><a href=\"http://www.a.example/\">A</a><dd>d<span>"
        "<dl><dt><a href=\"HTTP://WWW.A.EXAMPLE/\">again</a><dd>d<span>";
    ParsedPage p;
    ASSERT_TRUE(ParseEnginePage("ALTAVISTA", "", page, p));
    ASSERT_EQ(p.rows.size(), 1u);
    EXPECT_EQ(p.rows[0].subItems[kSource], "Altavista");
    EXPECT_EQ(p.rows[0].caption, "1");
    // The page already in the queue is not reported; the queued link is.
    EXPECT_EQ(p.pages, (std::vector<std::string>{"http://" + ServiceHostFor("altavista") + "/cgi-bin/query?kl=XX&q=a&stq=10"}));

    ASSERT_TRUE(ParseEnginePage("Altavista", "http://other:81", page, p));
    EXPECT_EQ(p.pages, (std::vector<std::string>{"http://other:81/cgi-bin/query?kl=XX&q=a&stq=10"}));

    // Engines are found by name; a selector number works too.
    ASSERT_TRUE(ParseEnginePage("compuserve", "http://h", ">web pages<<font size=2><a href=\"r?1\" s='x'\">T</a>d<br>", p));
    ASSERT_EQ(p.rows.size(), 1u);
    EXPECT_EQ(p.rows[0].subItems[kUrl], "http://h/cs/results/r?1");
    ASSERT_TRUE(ParseEnginePage("17", "http://h", "", p));
    EXPECT_TRUE(p.rows.empty());
    EXPECT_FALSE(ParseEnginePage("Nowhere", "", page, p));
    EXPECT_FALSE(ParseEnginePage("13", "", page, p));  // no engine reads with selector 13
}

TEST(ParseCommand, JsonIsValidUtf8ByTheDisplayRule) {
    std::vector<ResultRow> rows = {
        Row({"caf\xe9 \"quoted\" back\\slash", "http://x.example/", "E", "tab\there\nnew\x01line", ""}),
        Row({"d\xc3\xa9j\xc3\xa0", "", "E", "", "http://c.example/"}),
    };
    std::string json = FormatParseJson(rows, {"http://p.example/?a=1&b=\xe9"});
    QJsonParseError error;
    QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(json), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json;
    QJsonArray r = doc.object()["rows"].toArray();
    ASSERT_EQ(r.size(), 2);
    EXPECT_EQ(r[0].toObject()["site"].toString(), QString::fromUtf8("caf\u00e9 \"quoted\" back\\slash"));
    EXPECT_EQ(r[0].toObject()["description"].toString(), QString::fromUtf8("tab\there\nnew\x01line"));
    EXPECT_EQ(r[0].toObject()["location"].toString(), "http://x.example/");
    EXPECT_EQ(r[1].toObject()["site"].toString(), QString::fromUtf8("d\u00e9j\u00e0"));  // valid UTF-8 stays
    EXPECT_EQ(r[1].toObject()["url"].toString(), "http://c.example/");
    EXPECT_EQ(r[1].toObject().keys().size(), 5);
    EXPECT_EQ(doc.object()["pages"].toArray()[0].toString(), QString::fromUtf8("http://p.example/?a=1&b=\u00e9"));
    // Nothing at all is still a valid document.
    EXPECT_EQ(QJsonDocument::fromJson(QByteArray::fromStdString(FormatParseJson({}, {}))).object()["rows"].toArray().size(),
              0);
}

TEST(ParseCommand, TsvEscapesSeparatorsInsideFields) {
    std::string tsv = FormatParseTsv({Row({"a\tb", "l", "E", "x\r\ny\\z", ""})}, {"http://p/1", "http://p/2"});
    EXPECT_EQ(tsv, "a\\tb\tl\tE\tx\\r\\ny\\\\z\t\nhttp://p/1\nhttp://p/2\n");
}

}  // namespace
}  // namespace qm
