// quillmar-cli route and route parse: the planner core without a window.
#include "toolkit/AtomicFile.h"
#include "tools/RoadPlanner.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qm;

namespace {

struct CliOutcome {
    int exit = -1;
    std::string out, err;
};

CliOutcome RunCli(const QStringList &args) {
    QProcess p;
    p.start(QStringLiteral(QUILLMAR_BINARY_DIR "/src/cli/quillmar-cli"), args);
    CliOutcome r;
    if (!p.waitForFinished(120000)) return r;
    r.exit = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
}

TEST(RoadCli, ParseAppliesKmAndSwitchesInOrder) {
    QTemporaryDir tmp;
    const QString us = tmp.filePath("us.htm"), eu = tmp.filePath("eu.htm");
    ASSERT_TRUE(WriteFileAtomic(us.toStdString(), "<b>Distance</b><td><b>1:</b> Go &quot;north&quot;</td>"
                                                  "<td a=\"r\"><font s=\"2\">10 miles</font>"));
    ASSERT_TRUE(WriteFileAtomic(eu.toStdString(), "but action / di--><b>Caf&eacute;</b><!-- nowrap>60</td>"));
    struct Case {
        QStringList args;
        std::string out;
    } cases[] = {
        {{"--planner", "us", us}, R"({"rows": [{"step": "1: Go \"north\"", "distance": "10.00 miles"}]})"},
        {{"--planner", "us", "--km", us}, R"({"rows": [{"step": "1: Go \"north\"", "distance": "16.09 km"}]})"},
        {{"--planner", "us", "--switch", "km", "--switch", "miles", "--switch", "km", us},
         R"({"rows": [{"step": "1: Go \"north\"", "distance": "16.09 km"}]})"},
        {{"--planner", "eu", "--switch", "miles", eu},
         R"({"rows": [{"step": "Café", "distance": "37.29 miles"}, {"step": "", "distance": ""}, )"
         R"({"step": "Distance totale:", "distance": "37.29 miles"}, )"
         R"({"step": "Temps total (à 90km/h):", "distance": "40.00 minutes"}]})"},
    };
    for (auto &c : cases) {
        QStringList args{"--home", tmp.filePath("home"), "route", "parse"};
        args << c.args << "--format" << "json";
        CliOutcome r = RunCli(args);
        EXPECT_EQ(r.exit, 0) << r.err;
        EXPECT_EQ(r.out, c.out + "\n") << c.args.join(' ').toStdString();
    }
    EXPECT_EQ(RunCli({"route", "parse", "--planner", "xx", "--format", "json", us}).exit, 2);
}

TEST(RoadCli, RouteSavesTheBytesOfTheSaveButton) {
    QTemporaryDir tmp;
    const QString saved = tmp.filePath("plan.txt");
    CliOutcome r = RunCli({"--home", tmp.filePath("home"), "--demo", "route", "--planner", "eu", "--from-town", "Paris",
                           "--to-town", "Gen\xc3\xa8ve", "--to-country", "44", "--flip", "--save", saved,
                           "--print", tmp.filePath("plan.pdf"), "--format", "json"});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_NE(r.out.find(R"("request": "/cgi-bin/geo/isroad.exe?Depart_Ville=Gen%C3%A8ve&Depart_Code_Postal=&Depart_Pays=41&)"),
              std::string::npos) << r.out;
    EXPECT_NE(r.out.find(R"("suggested_name": "Itinéraire Genève - Paris.txt"})"), std::string::npos) << r.out;
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(saved.toStdString(), bytes));
    EXPECT_EQ(bytes.rfind("--------- Ville de départ ---------\r\n\r\nVille:\tGenève\r\nCode postal:\t\r\nPays:\tSuisse\r\n", 0), 0u);
    EXPECT_NE(bytes.find("\tDistance totale:\r\n"), std::string::npos);
    std::string pdf;
    ASSERT_TRUE(ReadWholeFile(tmp.filePath("plan.pdf").toStdString(), pdf));
    EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);

    // No plan, and a save that cannot be written: exit 1, the JSON still printed.
    r = RunCli({"--home", tmp.filePath("home"), "--demo", "route", "--planner", "us", "--from-city", "Troy", "--save",
                tmp.filePath("no/such/x.txt"), "--format", "json"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_NE(r.out.find(R"("rows": [])"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("No road plan found."), std::string::npos);
    EXPECT_NE(r.err.find("The file could not be written."), std::string::npos);
}

}  // namespace
