#include <gtest/gtest.h>

#include "service/ConfigDownload.h"
#include "service/RemoteConfig.h"
#include "toolkit/AtomicFile.h"

#include <QTemporaryDir>

#include <deque>

using namespace qm;
using Phase = ConfigDownload::Phase;
using Source = ConfigDownload::Source;

namespace {

// A configuration of `n` lines (before the empty line the download adds) naming `app`.
std::string Config(int n, const std::string &app) {
    std::string body = "$APP_NAME = " + app + "\n";
    for (int i = 1; i < n; ++i) body += "; filler\n";
    body.pop_back();
    return body;
}

ConfigFetchResult Good(const std::string &body) { return {true, 200, true, body}; }

struct Harness {
    QTemporaryDir dir;
    std::string copy = dir.path().toStdString() + "/Options/qm_config.ini";
    std::deque<ConfigFetchResult> answers;
    std::vector<std::string> applied;  // the app name of each apply
    ConfigDownload download{copy,
                            [this](auto done) {
                                ConfigFetchResult r = answers.front();
                                answers.pop_front();
                                done(r);
                            },
                            [this](const StringList &lines) { applied.push_back(ApplyConfig(lines).appName); }};
    std::string CopyBytes() {
        std::string bytes;
        ReadWholeFile(copy, bytes);
        return bytes;
    }
};

}  // namespace

TEST(ConfigDownload, OneRetryThenLocalCopy) {
    struct Case {
        const char *name;
        std::vector<ConfigFetchResult> answers;
        bool localCopy;  // a good local copy ("Local") exists at start
        Phase phase;
        Source source;
        int requests;
        const char *applied;  // app name applied, "" for none
    };
    const ConfigFetchResult offline{false, 0, false, ""};
    const Case cases[] = {
        {"first answer", {Good(Config(10, "Remote"))}, true, Phase::Applied, Source::Remote, 1, "Remote"},
        {"retry answers", {offline, Good(Config(10, "Remote"))}, false, Phase::Applied, Source::Remote, 2, "Remote"},
        {"offline, copy", {offline, offline}, true, Phase::FellBack, Source::Local, 2, "Local"},
        {"offline, no copy", {offline, offline}, false, Phase::Nothing, Source::None, 2, ""},
        {"404 page", {{true, 404, true, Config(20, "Bad")}, offline}, true, Phase::FellBack, Source::Local, 2, "Local"},
        {"cut body", {{true, 200, false, Config(20, "Bad")}, offline}, true, Phase::FellBack, Source::Local, 2, "Local"},
        // 9 body lines + the added one are 10: too short.
        {"short", {Good(Config(9, "Bad")), Good(Config(9, "Bad"))}, true, Phase::FellBack, Source::Local, 2, "Local"},
        {"no key", {Good(std::string(40, '\n')), offline}, true, Phase::FellBack, Source::Local, 2, "Local"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        ASSERT_TRUE(h.dir.isValid());
        std::string local = Config(12, "Local");
        if (c.localCopy) ASSERT_TRUE(TMisc::CreatePath(h.dir.path().toStdString() + "/Options") &&
                                     WriteFileAtomic(h.copy, local));
        h.answers.assign(c.answers.begin(), c.answers.end());
        h.download.Start();
        h.download.Start();  // once per run
        EXPECT_EQ(h.download.phase(), c.phase);
        EXPECT_EQ(h.download.source(), c.source);
        EXPECT_EQ(h.download.requests(), c.requests);
        EXPECT_EQ(h.applied, std::string(c.applied).empty() ? std::vector<std::string>{}
                                                            : std::vector<std::string>{c.applied});
        if (c.source == Source::Remote) {
            // The stored copy reads back as the same lines.
            StringList back;
            ASSERT_TRUE(TMisc::LoadTextLines(h.copy, back));
            EXPECT_EQ(back, ConfigDownload::BodyLines(Config(10, "Remote")));
        } else if (c.localCopy) {
            EXPECT_EQ(h.CopyBytes(), local);  // a failed download leaves the copy alone
        }
    }
}

TEST(ConfigDownload, ShortLocalCopyIsNeitherAppliedNorDeleted) {
    Harness h;
    ASSERT_TRUE(TMisc::CreatePath(h.dir.path().toStdString() + "/Options"));
    ASSERT_TRUE(WriteFileAtomic(h.copy, Config(5, "Short")));
    h.answers = {{false, 0, false, ""}, {false, 0, false, ""}};
    h.download.Start();
    EXPECT_EQ(h.download.phase(), Phase::Nothing);
    EXPECT_TRUE(h.applied.empty());
    EXPECT_EQ(h.CopyBytes(), Config(5, "Short"));
}

TEST(ServiceConfig, HolderKeepsTheAppliedConfiguration) {
    ResetServiceConfig();
    EXPECT_FALSE(ServiceConfigApplied());
    EXPECT_EQ(CurrentServiceConfig().title, "Quillmar v1.22 ");
    SetServiceConfig(ApplyConfig({"$APP_NAME = Other", "$HOMESITE = http://home.example/"}));
    EXPECT_TRUE(ServiceConfigApplied());
    EXPECT_EQ(CurrentServiceConfig().title, "Other v1.22 ");
    EXPECT_EQ(CurrentServiceConfig().homeSite, "http://home.example/");
    ResetServiceConfig();
    EXPECT_EQ(CurrentServiceConfig().homeSite, "");
}
