// quillmar-cli search writes the web cache and, with --export, the result page, as the
// window does.
#include "search/Export.h"
#include "search/ResultCache.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

using namespace qm;

namespace {

std::string Read(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll().toStdString();
}

size_t Count(const std::string &text, const std::string &part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(ListtoolsCli, SearchWritesCacheAndExportsThePage) {
    const QString cli = QStringLiteral(QUILLMAR_BINARY_DIR "/src/cli/quillmar-cli");
    if (!QFileInfo::exists(cli)) GTEST_SKIP() << "quillmar-cli is not built";
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString page = home.filePath("page.htm");
    QProcess p;
    p.start(cli, {"--home", home.path(), "--demo", "search", "--export", page, "big", "cat"});
    ASSERT_TRUE(p.waitForFinished(120000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const std::string tsv = p.readAllStandardOutput().toStdString();
    const size_t lines = Count(tsv, "\n");
    ASSERT_GT(lines, 0u);

    std::vector<ResultRow> cached;
    ASSERT_TRUE(LoadResultList(home.filePath("Cache/WEBSearch/big+cat.webcache").toStdString(), cached));
    EXPECT_EQ(cached.size(), lines);

    const std::string html = Read(page);
    ResultTemplates t = BuiltInResultTemplates();
    EXPECT_EQ(html.substr(0, 64), t.header.substr(0, 64));
    EXPECT_EQ(html.substr(html.size() - t.end.size()), t.end);
    EXPECT_EQ(Count(html, "<td width=\"80%\" bgcolor=\"#000000\">"), lines);
    // Rows in list order, each title escaped once.
    size_t at = 0;
    for (const auto &row : cached) {
        at = html.find(">" + HtmlEscape(row.subItems[kSite]) + "</a>", at);
        ASSERT_NE(at, std::string::npos) << row.subItems[kSite];
    }
    EXPECT_EQ(html.find("<$ENGINE_URL>"), std::string::npos);
}
