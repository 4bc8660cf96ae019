#include "search/Export.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace qm;

namespace {

ResultRow Row(std::string site, std::string location, std::string source, std::string desc,
              std::string url = "") {
    ResultRow r;
    r.subItems = {std::move(site), std::move(location), std::move(source), std::move(desc), std::move(url)};
    return r;
}

ExportSettings Settings() {
    ExportSettings s;
    s.homeSite = "http://www.quillmar.example/";
    s.gifPath = "/data/GFX/partner.gif";
    s.logoPath = "/data/GFX/qm_result_logo.gif";
    s.engines = {{"Altavista", "http://www.altavista.example/"}, {"Lycos", "http://www.lycos.example/"},
                 {"ALTAVISTA", "http://second.example/"}};
    s.templates = BuiltInResultTemplates();
    return s;
}

// Splits at LF, keeping each line's ending.
std::vector<std::string> Lines(const std::string &text) {
    std::vector<std::string> out;
    size_t at = 0;
    while (at < text.size()) {
        size_t lf = text.find('\n', at);
        if (lf == std::string::npos) lf = text.size() - 1;
        out.push_back(text.substr(at, lf + 1 - at));
        at = lf + 1;
    }
    return out;
}

}  // namespace

TEST(ListtoolsExport, BuiltInTemplatesHaveTheFixedLayout) {
    ResultTemplates t = BuiltInResultTemplates();
    auto header = Lines(t.header);
    ASSERT_GE(header.size(), 5u);
    EXPECT_EQ(header[0], "<HTML><HEAD><TITLE>Quillmar search results</TITLE></HEAD><BODY>\r\n");
    EXPECT_EQ(header[1], "\r\n");
    // Only the blank line after the paragraph and the results table's opening end in LF alone.
    size_t n = header.size();
    EXPECT_EQ(header[n - 1], "<table border=\"0\" width=\"100%\" cellspacing=\"0\" cellpadding=\"0\">\n");
    EXPECT_EQ(header[n - 2], "\n");
    EXPECT_EQ(header[n - 3], "<p>&nbsp;</p>\r\n");
    EXPECT_EQ(header[n - 4], "\r\n");
    for (size_t i = 0; i + 2 < n; ++i) EXPECT_EQ(header[i].substr(header[i].size() - 2), "\r\n") << i;
    for (const char *part :
         {"<table border=\"1\" width=\"399\" align=\"center\" cellspacing=\"0\" cellpadding=\"0\">",
          "<td width=\"267\" bgcolor=\"#000000\" align=\"center\"><a href=\"<$HOMESITE>\">"
          "<img border=\"0\" src=\"<$RESULTLOGO>\" width=\"257\" height=\"84\"></a></td>",
          "<td width=\"126\" bgcolor=\"#000000\" align=\"center\">", "<!--NOEDIT-->\r\n", "<!--/NOEDIT-->\r\n",
          "<table border=\"1\" width=\"120\" cellspacing=\"0\" cellpadding=\"0\" bgcolor=\"#66cc99\">",
          "<form method=\"GET\" action=\"http://search.partner.example/search.php3\">",
          "<img src=\"<$GIF>\" width=\"120\" height=\"46\" border=\"0\" alt=\"\">",
          "<td valign=\"bottom\" height=\"40\" align=\"center\"><input type=\"hidden\" name=\"l\" "
          "value=\"quillmar\"><input type=\"text\" name=\"term\" size=\"15\"><br><input type=\"submit\" "
          "value=\"Search\"></td>"})
        EXPECT_NE(t.header.find(part), std::string::npos) << part;
    EXPECT_LT(t.header.find("<!--NOEDIT-->"), t.header.find("<form"));
    EXPECT_LT(t.header.find("</form>"), t.header.find("<!--/NOEDIT-->"));

    auto line = Lines(t.line);
    for (const auto &l : line) EXPECT_EQ(l.substr(l.size() - 2), "\r\n");
    EXPECT_EQ(line.back(), "\r\n");
    // Four rows, each a single 80% cell, in the fixed order.
    size_t spacer = t.line.find("<td width=\"80%\" bgcolor=\"#000000\"><font size=\"3\">&nbsp;</font></td>");
    size_t title = t.line.find("<td width=\"80%\"><font size=\"3\">&nbsp;<font color=\"#008000\"><a "
                               "href=\"<$URL>\" target=\"_blank\"><$SITENAME></a></font></font></td>");
    size_t desc = t.line.find("<td width=\"80%\"><font face=\"Arial\" size=\"2\"><$DESCRIPTION></font></td>");
    size_t engine = t.line.find("<td width=\"80%\" align=\"right\"><i><font size=\"2\" color=\"#000080\"><a "
                                "href=\"<$ENGINE_URL>\" target=\"_blank\"><$ENGINE_NAME></a></font></i></td>");
    ASSERT_NE(spacer, std::string::npos);
    ASSERT_NE(title, std::string::npos);
    ASSERT_NE(desc, std::string::npos);
    ASSERT_NE(engine, std::string::npos);
    EXPECT_LT(spacer, title);
    EXPECT_LT(title, desc);
    EXPECT_LT(desc, engine);
    EXPECT_EQ(t.end, "</table></body></html>\r\n");
}

TEST(ListtoolsExport, PageIsTemplatesWithPlaceholdersFilled) {
    ExportSettings s = Settings();
    std::vector<ResultRow> rows = {
        Row("Cats", "http://cats.example/", "altavista", "All about cats"),
        Row("Dogs", "http://dogs.example/loc", "Nobody", "Dogs", "http://dogs.example/url"),
    };
    std::string page = BuildResultPage(rows, {}, s);
    std::string header = s.templates.header;
    header.replace(header.find("<$HOMESITE>"), 11, s.homeSite);
    header.replace(header.find("<$RESULTLOGO>"), 13, s.logoPath);
    header.replace(header.find("<$GIF>"), 6, s.gifPath);
    ASSERT_EQ(page.substr(0, header.size()), header);
    EXPECT_EQ(page.substr(page.size() - s.templates.end.size()), s.templates.end);

    // The engine home page comes from the first engine whose name matches ignoring case.
    EXPECT_NE(page.find("<a href=\"http://cats.example/\" target=\"_blank\">Cats</a>"), std::string::npos);
    EXPECT_NE(page.find("<a href=\"http://www.altavista.example/\" target=\"_blank\">altavista</a>"),
              std::string::npos);
    EXPECT_EQ(page.find("second.example"), std::string::npos);
    // The URL column wins over the location; an unknown engine keeps the placeholder.
    EXPECT_NE(page.find("href=\"http://dogs.example/url\""), std::string::npos);
    EXPECT_EQ(page.find("dogs.example/loc"), std::string::npos);
    EXPECT_NE(page.find("<a href=\"<$ENGINE_URL>\" target=\"_blank\">Nobody</a>"), std::string::npos);

    // With nothing to export, the page is the header and the end.
    EXPECT_EQ(BuildResultPage({}, {}, s), header + s.templates.end);
    EXPECT_EQ(BuildResultPage(rows, {false, false}, s), header + s.templates.end);
    std::string second = BuildResultPage(rows, {false, true}, s);
    EXPECT_EQ(second.find("Cats"), std::string::npos);
    EXPECT_NE(second.find("Dogs"), std::string::npos);
}

TEST(ListtoolsExport, RemoteTextIsEscapedAndNeverReplacedAgain) {
    ExportSettings s = Settings();
    std::vector<ResultRow> rows = {
        Row("<script>alert(1)</script> & \"x\"", "http://a.example/?q=1&r=\"2\"", "Alta<b>",
            "<$URL> and <$ENGINE_URL> <$DESCRIPTION>"),
        Row("Evil", "javascript:alert(document.cookie)", "Lycos", "d"),
        Row("Local", "file:///etc/passwd", "Lycos", "d"),
        Row("Ftp", "FTP://files.example/pub", "Lycos", "d"),
        Row("Plain", "www.plain.example/a", "Lycos", "d"),
        Row("<$DESCRIPTION>", "http://b.example/", "Lycos", "real description"),
    };
    std::string page = BuildResultPage(rows, {}, s);
    EXPECT_EQ(page.find("<script>"), std::string::npos);
    EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt; &amp; &quot;x&quot;"), std::string::npos);
    EXPECT_NE(page.find("href=\"http://a.example/?q=1&amp;r=&quot;2&quot;\""), std::string::npos);
    EXPECT_NE(page.find(">Alta&lt;b&gt;</a>"), std::string::npos);
    EXPECT_NE(page.find("&lt;$URL&gt; and &lt;$ENGINE_URL&gt; &lt;$DESCRIPTION&gt;"), std::string::npos);
    EXPECT_EQ(page.find("javascript:"), std::string::npos);
    EXPECT_EQ(page.find("file:"), std::string::npos);
    EXPECT_NE(page.find("href=\"FTP://files.example/pub\""), std::string::npos);
    EXPECT_NE(page.find("href=\"http://www.plain.example/a\""), std::string::npos);
    // A title that reads like a placeholder does not swallow the description.
    EXPECT_NE(page.find("&lt;$DESCRIPTION&gt;</a>"), std::string::npos);
    EXPECT_NE(page.find(">real description</font>"), std::string::npos);
}

TEST(ListtoolsExport, FillTemplateReplacesFirstOccurrenceOnceIgnoringCase) {
    EXPECT_EQ(FillTemplate("<$url> <$URL> <$Name>", {{"<$URL>", "<$NAME>"}, {"<$NAME>", "n"}}),
              "<$NAME> <$URL> n");
    EXPECT_EQ(FillTemplate("none here", {{"<$URL>", "x"}}), "none here");
}

TEST(ListtoolsExport, SafeAddressesForTheBrowser) {
    for (const char *ok : {"http://a.example/", "HTTPS://a.example/x?y", "ftp://f.example/", "www.a.example",
                           "a.example:8080/path", "host/path:colon"})
        EXPECT_TRUE(IsSafeToOpen(ok)) << ok;
    for (const char *bad : {"javascript:alert(1)", " JavaScript:alert(1)", "java\tscript:alert(1)",
                            "file:///etc/passwd", "FILE://C:/x", "data:text/html,<b>", "vbscript:x", "/etc/passwd",
                            "//evil.example/share", "\\\\server\\share", "C:\\Windows\\x.exe", "~/x", "", "mailto:a@b",
                            "about:blank", "\x01javascript:x"})
        EXPECT_FALSE(IsSafeToOpen(bad)) << bad;
}

TEST(ListtoolsExport, SaveNameExtensionRule) {
    EXPECT_EQ(WithHtmlExtension("/d/name.HTML"), "/d/name.HTML");
    EXPECT_EQ(WithHtmlExtension("/d/name.htm"), "/d/name.htm");
    EXPECT_EQ(WithHtmlExtension("/d/name.txt"), "/d/name.txt.htm");
    EXPECT_EQ(WithHtmlExtension("/d/name"), "/d/name.htm");
    EXPECT_EQ(WithHtmlExtension("/d.htm/name"), "/d.htm/name.htm");
}

TEST(ListtoolsExport, WritesTheFileAndReportsFailure) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::string path = dir.filePath("WebView.htm").toStdString();
    ExportSettings s = Settings();
    std::vector<ResultRow> rows = {Row("One", "http://one.example/", "Lycos", "d")};
    {
        QFile old(QString::fromStdString(path));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(std::string(100000, 'x').c_str());
    }
    ASSERT_TRUE(ExportResultPage(rows, path, {}, s));
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().toStdString(), BuildResultPage(rows, {}, s));
    EXPECT_FALSE(ExportResultPage(rows, dir.filePath("missing/folder/x.htm").toStdString(), {}, s));
}
