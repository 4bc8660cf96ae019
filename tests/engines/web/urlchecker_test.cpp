// The verification's dispatch, retries, marks and stop, over scripted clients.
#include "engines/web/UrlChecker.h"
#include "engines/web/WebEngineTable.h"
#include "engines/web/WebSearchController.h"
#include "search/ResultListModel.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QIcon>
#include <QImage>
#include <QTimer>
#include <map>

using namespace qm;

namespace {

// How a scripted site answers: a list of outcomes, one per request (the last repeats).
struct Outcome {
    int error = 0;
    int status = 200;
    bool never = false;
};

struct Script {
    std::map<std::string, std::vector<Outcome>> sites;  // by URL
    std::map<std::string, int> requests;
    std::vector<CheckRequest> seen;
    int inFlight = 0, maxInFlight = 0;
};

class ScriptedClient : public CheckClient {
public:
    explicit ScriptedClient(Script &s) : script_(s) {}
    bool Head(const CheckRequest &r) override {
        script_.seen.push_back(r);
        int n = script_.requests[r.url]++;
        auto it = script_.sites.find(r.url);
        Outcome o = it == script_.sites.end() ? Outcome{} : it->second[std::min<size_t>(n, it->second.size() - 1)];
        if (busy_) ADD_FAILURE() << "a second request on a busy client";
        busy_ = true;
        script_.maxInFlight = std::max(script_.maxInFlight, ++script_.inFlight);
        if (o.never) return true;
        int token = ++token_;
        QTimer::singleShot(1 + int(script_.seen.size() % 5), this, [this, o, token] {
            if (token != token_ || !busy_) return;
            busy_ = false;
            --script_.inFlight;
            status_ = o.status;
            emit done(o.error);
        });
        return true;
    }
    void Abort() override {
        if (!busy_) return;
        busy_ = false;
        --script_.inFlight;
        ++token_;
    }
    int Status() const override { return status_; }

private:
    Script &script_;
    bool busy_ = false;
    int status_ = 0;
    int token_ = 0;
};

std::unique_ptr<ResultListModel> List(int n) {
    std::unique_ptr<ResultListModel> m(ResultListModel::CreateWebList());
    for (int i = 0; i < n; ++i) {
        ResultRow r;
        r.subItems = {"site " + std::to_string(i), "http://s" + std::to_string(i) + ".example/", "Lycos", "", ""};
        m->AppendRow(std::move(r));
    }
    return m;
}

bool WaitUntil(const std::function<bool()> &cond, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!cond() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return cond();
}

struct Fixture {
    Script script;
    std::unique_ptr<ResultListModel> list;
    std::unique_ptr<UrlVerification> v;
    std::vector<bool> runningSignals;
    explicit Fixture(int rows) : list(List(rows)) {
        v = std::make_unique<UrlVerification>(*list, [this] { return std::make_unique<ScriptedClient>(script); });
        QObject::connect(v.get(), &UrlVerification::runningChanged, [this](bool r) { runningSignals.push_back(r); });
    }
    std::string Url(int row) const { return "http://s" + std::to_string(row) + ".example/"; }
};

}  // namespace

TEST(UrlChecker, FortyRowsGoOutFifteenAtATime) {
    Fixture f(45);
    for (int r = 0; r < 40; ++r) f.list->SelectRow(r);
    f.script.sites[f.Url(3)] = {{0, 404}};
    f.script.sites[f.Url(4)] = {{0, 500}};
    f.script.sites[f.Url(5)] = {{0, 400}};
    f.script.sites[f.Url(6)] = {{0, 301}};
    f.script.sites[f.Url(7)] = {{CheckClient::kRefused, 0}};                 // refused twice
    f.script.sites[f.Url(8)] = {{CheckClient::kTimedOut, 0}, {0, 200}};      // answers on the retry
    f.script.sites[f.Url(9)] = {{6, 0}};                                     // connection lost: no retry
    f.list->SetImage(44, 1);

    ASSERT_EQ(f.v->Start(), UrlVerification::StartResult::Started);
    EXPECT_TRUE(f.v->Running());
    EXPECT_EQ(f.v->Start(), UrlVerification::StartResult::AlreadyRunning);
    // The first 15 rows are handed out at once; the rest wait for a free checker.
    EXPECT_EQ(f.script.seen.size(), 15u);
    EXPECT_EQ(f.v->BusyCheckers(), 15);
    for (int r = 0; r < 15; ++r) EXPECT_EQ(f.list->Row(r).image, kVerifyChecking) << r;
    EXPECT_EQ(f.list->Row(15).image, -1);
    EXPECT_TRUE(f.list->CheckBoxesShown());
    EXPECT_TRUE(f.list->IsChecked(39));
    EXPECT_FALSE(f.list->IsChecked(40));

    ASSERT_TRUE(WaitUntil([&] { return !f.v->Running(); }));
    EXPECT_EQ(f.script.maxInFlight, 15);
    EXPECT_EQ(f.runningSignals, std::vector<bool>({true, false}));
    EXPECT_FALSE(f.list->CheckBoxesShown());
    EXPECT_EQ(f.list->Row(0).image, kVerifyAnswered);
    EXPECT_EQ(f.list->Row(3).image, kVerifyFailed);
    EXPECT_EQ(f.list->Row(4).image, kVerifyServerError);
    EXPECT_EQ(f.list->Row(5).image, kVerifyServerError);
    EXPECT_EQ(f.list->Row(6).image, kVerifyFailed);
    EXPECT_EQ(f.list->Row(7).image, kVerifyFailed);
    EXPECT_EQ(f.script.requests[f.Url(7)], 2);
    EXPECT_EQ(f.list->Row(8).image, kVerifyAnswered);
    EXPECT_EQ(f.script.requests[f.Url(8)], 2);
    EXPECT_EQ(f.list->Row(9).image, kVerifyFailed);
    EXPECT_EQ(f.script.requests[f.Url(9)], 1);
    EXPECT_EQ(f.list->Row(39).image, kVerifyAnswered);
    EXPECT_EQ(f.list->Row(40).image, -1);  // not selected: not checked
    EXPECT_EQ(f.list->Row(44).image, 1);
    EXPECT_EQ(f.script.seen.size(), 40u + 2u);  // two retries
    EXPECT_EQ(f.script.seen[0].agent, "Quillmar CheckBot");
    EXPECT_TRUE(f.script.seen[0].noCache);
    EXPECT_EQ(f.script.seen[0].referrer, "http://s0.example:80");
}

TEST(UrlChecker, AddressesAndRowsSkipped) {
    Fixture f(5);
    f.list->SetSubItem(0, kUrl, "https://secure.example:8443/x");
    f.list->SetSubItem(1, kLocation, "javascript:alert(1)");
    f.list->SetSubItem(2, kLocation, "www.plain.example/a");
    for (int r = 0; r < 5; ++r) f.list->SelectRow(r);
    f.v->SetCheckerCount(1);
    ASSERT_EQ(f.v->Start(), UrlVerification::StartResult::Started);
    f.list->SetChecked(4, false);  // unchecked before its turn: skipped
    ASSERT_TRUE(WaitUntil([&] { return !f.v->Running(); }));
    EXPECT_EQ(f.script.seen[0].url, "https://secure.example:8443/x");
    EXPECT_EQ(f.script.seen[0].referrer, "https://secure.example:8443");
    EXPECT_EQ(f.list->Row(0).image, kVerifyAnswered);
    EXPECT_EQ(f.list->Row(1).image, kVerifyFailed);  // never requested
    EXPECT_EQ(f.script.seen[1].url, "http://www.plain.example/a");
    EXPECT_EQ(f.list->Row(3).image, kVerifyAnswered);
    EXPECT_EQ(f.list->Row(4).image, -1);
    EXPECT_EQ(f.script.requests.count(f.Url(4)), 0u);
}

TEST(UrlChecker, StopRestoresRowsInProgressAndDropsLateAnswers) {
    Fixture f(20);
    for (int r = 0; r < 20; ++r) {
        f.list->SelectRow(r);
        f.list->SetImage(r, r % 2 ? kVerifyPage : -1);
    }
    for (int r = 0; r < 20; ++r) f.script.sites[f.Url(r)] = {{0, 200, r >= 3}};
    ASSERT_EQ(f.v->Start(), UrlVerification::StartResult::Started);
    ASSERT_TRUE(WaitUntil([&] { return f.list->Row(2).image == kVerifyAnswered; }));
    f.v->Stop();
    EXPECT_FALSE(f.v->Running());
    EXPECT_EQ(f.list->Row(0).image, kVerifyAnswered);
    EXPECT_EQ(f.list->Row(1).image, kVerifyAnswered);
    for (int r = 3; r < 20; ++r) EXPECT_EQ(f.list->Row(r).image, r % 2 ? kVerifyPage : -1) << r;
    EXPECT_EQ(f.script.inFlight, 0);  // outstanding requests were aborted
    // A new verification can start with fresh checkers.
    f.list->ClearSelection();
    EXPECT_EQ(f.v->Start(), UrlVerification::StartResult::NothingSelected);
}

TEST(UrlChecker, FinalWaitEndsAfterItsTicks) {
    Fixture f(3);
    for (int r = 0; r < 3; ++r) f.list->SelectRow(r);
    f.script.sites[f.Url(1)] = {{0, 200, true}};
    f.v->SetFinalWaitTicks(3);
    f.v->SetTickInterval(20);
    QElapsedTimer t;
    t.start();
    ASSERT_EQ(f.v->Start(), UrlVerification::StartResult::Started);
    ASSERT_TRUE(WaitUntil([&] { return !f.v->Running(); }));
    EXPECT_GE(t.elapsed(), 55);
    EXPECT_EQ(f.list->Row(0).image, kVerifyAnswered);
    EXPECT_EQ(f.list->Row(1).image, -1);
    EXPECT_EQ(f.list->Row(2).image, kVerifyAnswered);
}

TEST(UrlChecker, IconsAreDrawnAndShownByTheList) {
    InstallVerifyIcons();
    for (int i = 0; i <= 4; ++i) {
        QImage img = VerifyIcon(i).pixmap(16, 16).toImage();
        ASSERT_EQ(img.size(), QSize(16, 16));
        int opaque = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) opaque += qAlpha(img.pixel(x, y)) > 128;
        EXPECT_GT(opaque, 20) << i;
    }
    EXPECT_TRUE(VerifyIcon(5).isNull());
    auto list = List(1);
    EXPECT_FALSE(list->data(list->index(0, 0), Qt::DecorationRole).isValid());
    list->SetImage(0, kVerifyFailed);
    EXPECT_TRUE(list->data(list->index(0, 0), Qt::DecorationRole).canConvert<QIcon>());
    EXPECT_FALSE(list->data(list->index(0, 0), Qt::CheckStateRole).isValid());
    list->SetCheckBoxesShown(true);
    EXPECT_EQ(list->data(list->index(0, 0), Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_TRUE(list->setData(list->index(0, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(list->IsChecked(0));
    EXPECT_TRUE(list->flags(list->index(0, 0)) & Qt::ItemIsUserCheckable);
}

TEST(UrlChecker, SearchesAreRefusedWhileVerifying) {
    std::vector<EngineDescriptor> table = BuildWebEngineTable();
    auto list = List(2);
    std::vector<std::string> alerts;
    WebSearchEnvironment env;
    env.alert = [&](const std::string &m) { alerts.push_back(m); };
    WebSearchController web(table, *list, env);
    web.SetVerifying(true);
    web.StartWebSearch("cats");
    EXPECT_FALSE(web.Running());
    EXPECT_EQ(list->Count(), 2);
    EXPECT_EQ(alerts, std::vector<std::string>({kSearchWhileVerifying}));
}
