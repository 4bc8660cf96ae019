// quillmar-cli banner run over the fake web (--demo): the calls that request, the click's
// outcome in the JSON, and the exit status of a file too short to apply or bad arguments.
#include "toolkit/AtomicFile.h"

#include "cli/CliRun.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

std::string ConfigFile(const QTemporaryDir &tmp, const std::string &slotLine, int fillers) {
    std::string text;
    for (int i = 0; i < fillers; ++i) text += "; filler\r\n";
    text += "$PUB_SET_CFG = 1\r\n" + slotLine + "\r\n";
    const std::string path = tmp.filePath("qm_config.ini").toStdString();
    EXPECT_TRUE(qm::WriteFileAtomic(path, text));
    return path;
}

}  // namespace

TEST(CliBanner, RunsTheBarAndReportsTheClick) {
    const std::string ads = "http://ads.quillmar.example";
    struct Case {
        std::string slot;
        int fillers;
        QStringList extra;
        int exit;
        std::vector<std::string> parts;  // pieces the output holds
    };
    const Case cases[] = {
        {"$PUB[1].SET = Y x 3 x x " + ads + "/ad?ord=<pif8> " + ads + "/click?ord=<pif8>&bnum=12345678 x 5",
         10, {"--click"}, 0,
         {"\"requests\": [{\"call\": 3, \"url\": \"" + ads + "/ad?ord=", "{\"call\": 6,", "\"shown\": {\"width\": 468, \"height\": 60}",
          "\"click\": {\"open\": \"" + ads + "/click?ord=", "\"bar_hidden\": true, \"period\": 5",
          "\"label\": \"Please support"}},
        {"$PUB[1].SET = Y x 1 x x " + ads + "/small.gif " + ads + "/click?bnum=1 x 0", 10, {"--click"}, 0,
         {"\"shown\": null", "\"invalid\": true", "\"click\": null", "\"bar_hidden\": false"}},
        {"$PUB[1].SET = Y x 1 x x " + ads + "/gif?ord=<pif2> " + ads + "/click?bnum=1 x 0", 10, {"--click"}, 0,
         {"\"click\": {\"alert\": \"Wrong banner ID. This site can't be accessed. Sorry!!!\"}"}},
        {"$PUB[1].SET = Y x 1 x x " + ads + "/gif?ord=<pif2> " + ads + "/c", 7, {}, 1,
         {"\"requests\": []", "\"label\": \"Quillmar : The easy way"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.slot);
        QTemporaryDir tmp;
        QStringList args = {"--demo", "--home", tmp.filePath("home"), "banner", "run",
                            QString::fromStdString(ConfigFile(tmp, c.slot, c.fillers)), "--calls", "7", "--format", "json"};
        const qm::test::CliOutcome r = qm::test::RunCliProgram(args + c.extra);
        EXPECT_EQ(r.exit, c.exit) << r.err;
        for (const std::string &part : c.parts) EXPECT_NE(r.out.find(part), std::string::npos) << part << "\n" << r.out;
    }
    QTemporaryDir tmp;
    EXPECT_EQ(qm::test::RunCliProgram({"banner", "run", tmp.filePath("x"), "--calls", "0"}).exit, 2);
    EXPECT_EQ(qm::test::RunCliProgram({"banner", "walk"}).exit, 2);
}
