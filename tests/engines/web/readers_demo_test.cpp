// The demo search as a user runs it (quillmar-cli --demo over the fake web, every engine):
// no junk rows, and a query with "&", "#" and UTF-8 letters reaches the engines whole.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "engines/web/WebEngineTable.h"
#include "fakeweb/services/web_engines.h"

namespace qm {
namespace {

const QString kCli = QStringLiteral(QUILLMAR_BINARY_DIR "/src/cli/quillmar-cli");

std::vector<std::vector<std::string>> RunCli(const QStringList &args) {
    QTemporaryDir home;
    QProcess p;
    p.start(kCli, QStringList{"--home", home.path(), "--demo"} + args);
    EXPECT_TRUE(p.waitForFinished(180000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    std::vector<std::vector<std::string>> lines;
    for (const QByteArray &line : p.readAllStandardOutput().split('\n')) {
        if (line.isEmpty()) continue;
        std::vector<std::string> fields;
        for (const QByteArray &f : line.split('\t')) fields.push_back(f.toStdString());
        lines.push_back(std::move(fields));
    }
    return lines;
}

bool EndsWith(const std::string &text, const std::string &end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST(DemoSearch, EveryRowIsARealSite) {
    if (!QFileInfo::exists(kCli)) GTEST_SKIP() << "quillmar-cli is not built";
    const auto &decoys = fakeweb::services::DecoyLinkTexts();
    struct Case {
        QStringList typed;
        std::vector<std::string> words;  // the topics the fake web reads from the query
    };
    const Case cases[] = {
        {{"free", "software"}, {"free", "software"}},
        {{"rock", "&", "roll"}, {"rock", "roll"}},
        {{"caf\u00e9", "cr\u00e8me", "&", "co", "#1"}, {"caf\xC3\xA9", "cr\xC3\xA8me", "co", "1"}},
    };
    for (const auto &c : cases) {
        const std::string query = c.typed.join(' ').toStdString();
        const auto rows = RunCli(QStringList{"search", "--format", "tsv"} + c.typed);
        ASSERT_GT(rows.size(), 100u) << query;
        std::set<std::string> sources, topics;
        for (const auto &r : rows) {
            ASSERT_EQ(r.size(), 5u) << query;
            const std::string &site = r[0], &location = r[1], &description = r[3], &url = r[4];
            sources.insert(r[2]);
            const std::string address = url.empty() ? location : url;
            EXPECT_EQ(address.rfind("http://", 0), 0u) << query << ": relative address " << address;
            for (const std::string &text : {site, location, description, url})
                EXPECT_EQ(text.find_first_of("<>"), std::string::npos) << query << ": markup in " << text;
            EXPECT_EQ(std::find(decoys.begin(), decoys.end(), site), decoys.end()) << query << ": decoy " << site;
            EXPECT_NE(site.rfind("Top: ", 0), 0u) << query << ": category " << site;
            // Every site the fake web makes is titled "<Name> <Kind> - <query word>".
            bool titled = false;
            for (const auto &w : c.words)
                if (EndsWith(site, " - " + w)) {
                    titled = true;
                    topics.insert(w);
                }
            EXPECT_TRUE(titled) << query << ": not a site title: " << site;
            EXPECT_EQ(description.rfind("All about ", 0), 0u) << query << ": description " << description;
        }
        EXPECT_EQ(sources.size(), size_t(kWebEngineCount)) << query;
        EXPECT_EQ(topics.size(), c.words.size()) << query;  // every word arrived, none cut
    }
}

TEST(DemoSearch, TheQueryIsEncodedInEveryAddressAndKeptAsTyped) {
    if (!QFileInfo::exists(kCli)) GTEST_SKIP() << "quillmar-cli is not built";
    const auto lines = RunCli({"urls", "--format", "tsv", "caf\u00e9", "cr\u00e8me", "&", "co", "#1"});
    ASSERT_EQ(lines.size(), size_t(kWebEngineCount));
    for (const auto &l : lines) {
        ASSERT_EQ(l.size(), 3u);
        EXPECT_EQ(l[1], "caf\xC3\xA9+cr\xC3\xA8me+&+co+#1") << l[0];
        EXPECT_NE(l[2].find("caf%C3%A9+cr%C3%A8me+%26+co+%231"), std::string::npos) << l[0] << ": " << l[2];
    }
}

}  // namespace
}  // namespace qm
