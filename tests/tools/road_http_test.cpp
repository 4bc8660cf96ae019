// Whole plans over real HTTP on the fake web, and a plan printed into a PDF file.
#include "fakeweb/Server.h"
#include "support/SharedFakeWeb.h"
#include "net/NetConfig.h"
#include "tools/RoadPlanner.h"
#include "tools/RoadPrint.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qm;

namespace {

fakeweb::Server &Web() { return test::SharedFakeWeb(); }

struct Outcome {
    bool plan = false;
    std::vector<std::string> notices;
};

// Sends the planner's request and waits for its end.
Outcome Plan(RoadPlanner &p) {
    Outcome o;
    QEventLoop loop;
    auto n = QObject::connect(&p, &RoadPlanner::notice, [&](const std::string &t) { o.notices.push_back(t); });
    auto f = QObject::connect(&p, &RoadPlanner::finished, [&](bool plan) {
        o.plan = plan;
        loop.quit();
    });
    if (p.Request()) loop.exec();
    QObject::disconnect(n);
    QObject::disconnect(f);
    return o;
}

std::vector<std::string> Steps(const RoadPlanner &p) {
    std::vector<std::string> steps;
    for (const auto &r : p.Rows()) steps.push_back(r.step.substr(r.step.find(": ") + 2));
    return steps;
}

TEST(RoadHttp, UsPlansFollowTheRequest) {
    RouteServiceHostsTo(Web().port());
    RoadPlanner p;
    p.pump = [] { QCoreApplication::processEvents(); };
    p.usFrom = {"1 Main St", "Boston", "MA", ""};
    p.usTo = {"", "", "", "10001"};
    Outcome o = Plan(p);
    ASSERT_TRUE(o.plan);
    EXPECT_TRUE(o.notices.empty());
    EXPECT_EQ(p.LastRequest(), "/directions.asp?OAD2=1+Main+St&OAD3=Boston,+MA&DAD2=&DAD3=10001&showmap=1&PCT=easy");
    ASSERT_GE(p.Rows().size(), 5u);
    EXPECT_EQ(p.Rows()[0].step.rfind("1: Take ", 0), 0u) << p.Rows()[0].step;
    EXPECT_NE(p.Rows()[0].step.find("from 1 Main St, Boston, MA toward"), std::string::npos) << p.Rows()[0].step;
    EXPECT_NE(p.Rows()[0].distance.find(" miles"), std::string::npos);
    const auto easy = Steps(p);

    // A second press while the first request runs is ignored; the first one still ends well.
    p.fastest = true;
    QEventLoop loop;
    bool plan = false;
    QObject::connect(&p, &RoadPlanner::finished, &loop, [&](bool ok) {
        plan = ok;
        loop.quit();
    });
    ASSERT_TRUE(p.Request());
    EXPECT_TRUE(p.Busy());
    EXPECT_FALSE(p.Request());
    loop.exec();
    EXPECT_TRUE(plan);
    EXPECT_FALSE(p.Busy());
    const auto fast = Steps(p);
    EXPECT_NE(fast, easy);

    // Flipped: the reverse route, step by step.
    p.Flip();
    ASSERT_TRUE(Plan(p).plan);
    auto back = Steps(p);
    ASSERT_EQ(back.size(), fast.size());
    EXPECT_NE(back.front().find("from 10001 toward"), std::string::npos) << back.front();
    EXPECT_NE(fast.back().find("toward 10001"), std::string::npos) << fast.back();

    // Other places, another plan.
    p.usTo = {"", "Albany", "NY", ""};
    ASSERT_TRUE(Plan(p).plan);
    EXPECT_NE(Steps(p), back);

    // An address that cannot be read: no plan, the list empty, the user told.
    p.usFrom = {"", "Troy", "", ""};
    o = Plan(p);
    EXPECT_FALSE(o.plan);
    EXPECT_TRUE(p.Rows().empty());
    EXPECT_EQ(o.notices, std::vector<std::string>{"No road plan found."});
    RouteServiceHostsTo(0);
}

TEST(RoadHttp, EuropeanTotalsFollowTheStepsAndErrorsKeepTheList) {
    RouteServiceHostsTo(Web().port());
    RoadPlanner p;
    p.SelectPlanner(RoadMode::Europe);
    p.euFrom = {"Paris", "75013", kRoadDefaultCountry};
    p.euTo = {"M\xc3\xa2" "con", "", kRoadDefaultCountry};
    ASSERT_TRUE(Plan(p).plan);
    EXPECT_NE(p.LastRequest().find("Arrivee_Ville=M%C3%A2con&"), std::string::npos) << p.LastRequest();
    const auto rows = p.Rows();
    ASSERT_GE(rows.size(), 6u);
    double sum = 0;
    for (size_t i = 0; i + 3 < rows.size(); ++i) {
        EXPECT_NE(rows[i].step.find("Quitter "), std::string::npos) << rows[i].step;
        sum += FirstWordNumber(rows[i].distance);
    }
    EXPECT_EQ(rows[rows.size() - 2], (RoadRow{"Distance totale:", FormatFixed2(sum) + " km"}));
    EXPECT_EQ(rows.back().step, "Temps total (à 90km/h):");

    // Another planner chosen while the request runs: the answer is still read as the one asked.
    {
        QEventLoop loop;
        QObject::connect(&p, &RoadPlanner::finished, &loop, &QEventLoop::quit);
        ASSERT_TRUE(p.Request());
        p.SelectPlanner(RoadMode::US);
        loop.exec();
    }
    EXPECT_EQ(p.Rows(), rows);
    p.SelectPlanner(RoadMode::Europe);

    // Nowhere to connect: the list stays, the user is told in the planner's language.
    RouteServiceHostsTo(1);
    Outcome o = Plan(p);
    EXPECT_FALSE(o.plan);
    EXPECT_EQ(p.Rows(), rows);
    ASSERT_EQ(o.notices.size(), 1u);
    EXPECT_EQ(o.notices[0].rfind("Aucun itinéraire trouvé.", 0), 0u) << o.notices[0];
    RouteServiceHostsTo(0);
}

TEST(RoadPrint, PdfHoldsThePlan) {
    QTemporaryDir tmp;
    const std::string pdf = tmp.filePath("plan.pdf").toStdString();
    std::vector<RoadRow> rows{{"1: Take I-90 west", "12.50 miles"}, {}, {"2: Exit 12", "3.00 miles"}};
    for (int i = 0; i < 80; ++i) rows.push_back({"Filler " + std::to_string(i), "1.00 miles"});
    ASSERT_TRUE(PrintRoadPlanToPdf(pdf, {"From: 1 Main St - Boston MA ", "To:  - New York NY 10001"}, rows, QFont()));
    QFile f(QString::fromStdString(pdf));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(5) == "%PDF-");
    EXPECT_FALSE(PrintRoadPlanToPdf(tmp.filePath("no/such/dir/x.pdf").toStdString(), {"a", "b"}, rows, QFont()));

    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) missing";
    QProcess text;
    text.start("pdftotext", {"-layout", QString::fromStdString(pdf), "-"});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString out = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(out.contains("From: 1 Main St - Boston MA")) << out.toStdString();
    EXPECT_TRUE(out.contains("To: - New York NY 10001") || out.contains("To:  - New York NY 10001"));
    EXPECT_TRUE(out.contains("1: Take I-90 west : 12.50 miles"));
    EXPECT_TRUE(out.contains("Filler 79 : 1.00 miles"));  // on a later page
    EXPECT_GE(out.count('\f'), 2);
}

}  // namespace
