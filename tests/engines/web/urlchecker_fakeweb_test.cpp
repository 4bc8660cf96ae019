// The verification over real HTTP on loopback, against the fake web's verification sites.
#include "engines/web/UrlChecker.h"
#include "fakeweb/Server.h"
#include "fakeweb/services/verify_sites.h"
#include "net/HttpCli.h"
#include "net/NetConfig.h"
#include "net/ServiceHosts.h"
#include "search/ResultListModel.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>

using namespace qm;

namespace {

bool WaitUntil(const std::function<bool()> &cond, int ms) {
    QElapsedTimer t;
    t.start();
    while (!cond() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return cond();
}

int ClosedPort() {
    QTcpServer s;
    if (!s.listen(QHostAddress::LocalHost, 0)) return 1;
    int port = s.serverPort();
    s.close();
    return port;
}

class VerifyFakeWeb : public ::testing::Test {
protected:
    void SetUp() override {
        ResetServiceHosts();
        server_ = std::make_unique<fakeweb::Server>();
        ASSERT_TRUE(server_->start());
        SetConnectTo(fakeweb::VerifyRefuseRoute(ClosedPort()));
        RouteServiceHostsTo(server_->port());
        fakeweb::ResetVerifySiteHits();
        list_.reset(ResultListModel::CreateWebList());
    }
    void TearDown() override {
        verification_.reset();
        server_->stop();
        SetConnectTo("");
        RouteServiceHostsTo(0);
    }
    void Add(const std::string &location, const std::string &url = "") {
        ResultRow r;
        r.subItems = {"site", location, "Lycos", "", url};
        list_->AppendRow(std::move(r));
    }
    std::string Site(const std::string &path) const { return "http://" + ServiceHostFor("verify-sites") + path; }
    void MakeVerification(int timeoutMs) {
        verification_ = std::make_unique<UrlVerification>(
            *list_, HttpCheckClients([timeoutMs](THttpCli &c) { c.Timeout = timeoutMs; }));
    }

    std::unique_ptr<fakeweb::Server> server_;
    std::unique_ptr<ResultListModel> list_;
    std::unique_ptr<UrlVerification> verification_;
};

}  // namespace

TEST_F(VerifyFakeWeb, EachKindOfSiteGetsItsMark) {
    Add(Site("/ok"));                                        // 0
    Add(Site("/missing"));                                   // 1
    Add(Site("/bad-request"));                               // 2
    Add(Site("/server-error"));                              // 3
    Add(Site("/moved"));                                     // 4: followed to a 200
    Add("http://" + ServiceHostFor("verify-refuse") + "/");  // 5: refused twice
    Add(Site("/slow"));                                      // 6: times out twice
    Add("http://nowhere.invalid/", Site("/ok") + "?by-url"); // 7: the URL column wins
    for (int r = 0; r < list_->Count(); ++r) list_->SelectRow(r);
    MakeVerification(700);
    ASSERT_EQ(verification_->Start(), UrlVerification::StartResult::Started);
    ASSERT_TRUE(WaitUntil([&] { return !verification_->Running(); }, 20000));
    EXPECT_EQ(list_->Row(0).image, kVerifyAnswered);
    EXPECT_EQ(list_->Row(1).image, kVerifyFailed);
    EXPECT_EQ(list_->Row(2).image, kVerifyServerError);
    EXPECT_EQ(list_->Row(3).image, kVerifyServerError);
    EXPECT_EQ(list_->Row(4).image, kVerifyAnswered);
    EXPECT_EQ(list_->Row(5).image, kVerifyFailed);
    EXPECT_EQ(list_->Row(6).image, kVerifyFailed);
    EXPECT_EQ(fakeweb::VerifySiteHits("/slow"), 2);  // one retry after the time-out
    EXPECT_EQ(list_->Row(7).image, kVerifyAnswered);
    EXPECT_EQ(fakeweb::VerifySiteHits("/missing"), 1);
    EXPECT_EQ(fakeweb::VerifySiteHits("refuse:/"), 0);
}

TEST_F(VerifyFakeWeb, FortyRowsFifteenAtOnceAndStop) {
    // 40 rows that never answer: exactly 15 requests reach the sites, Stop restores all.
    for (int i = 0; i < 40; ++i) Add(Site("/never") + "?n=" + std::to_string(i));
    list_->SetImage(0, kVerifyPage);
    for (int r = 0; r < 40; ++r) list_->SelectRow(r);
    MakeVerification(0);
    ASSERT_EQ(verification_->Start(), UrlVerification::StartResult::Started);
    ASSERT_TRUE(WaitUntil([&] { return fakeweb::VerifySiteHits("/never") >= 15; }, 10000));
    WaitUntil([] { return false; }, 300);  // a 16th request would arrive now
    EXPECT_EQ(fakeweb::VerifySiteHits("/never"), 15);
    EXPECT_EQ(verification_->BusyCheckers(), 15);
    EXPECT_EQ(list_->Row(0).image, kVerifyChecking);
    EXPECT_EQ(list_->Row(15).image, -1);
    verification_->Stop();
    EXPECT_FALSE(verification_->Running());
    EXPECT_EQ(list_->Row(0).image, kVerifyPage);
    for (int r = 1; r < 40; ++r) EXPECT_EQ(list_->Row(r).image, -1) << r;
    WaitUntil([] { return false; }, 100);
    EXPECT_EQ(fakeweb::VerifySiteHits("/never"), 15);
}
