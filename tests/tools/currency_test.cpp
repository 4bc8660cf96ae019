// The currency converter: table, request, the quote-page matcher, the panel's texts, and
// conversions over real HTTP on the fake web (rates, failures, flips, aborts).
#include "fakeweb/Server.h"
#include "net/NetConfig.h"
#include "net/ServiceHosts.h"
#include "tools/Currency.h"
#include "tools/CurrencyConverter.h"
#include "tools/NumberText.h"

#include <QCoreApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cmath>

using namespace qm;

TEST(CurrencyTable, RowsCodesAndRequest) {
    const auto &t = CurrencyTable();
    EXPECT_STREQ(t[0].name, "Afghanistan Afghani");
    EXPECT_STREQ(t[11].code, "DBT");
    EXPECT_STREQ(t[25].name, "Combodia Riel");
    EXPECT_STREQ(t[26].name, "Canadian Dollar");
    EXPECT_STREQ(t[48].name, "Euro");
    EXPECT_STREQ(t[150].name, "Tonga Pa'anga");
    EXPECT_STREQ(t[154].name, "U.S Dollar");
    EXPECT_STREQ(t[166].code, "ZWD");
    EXPECT_EQ(FindCurrency("usd"), 154);
    EXPECT_EQ(FindCurrency("48"), 48);
    EXPECT_EQ(FindCurrency("167"), -1);
    EXPECT_EQ(FindCurrency("BDT"), -1);
    EXPECT_EQ(QuoteRequestPath(kDefaultCurrencyFrom, kDefaultCurrencyTo), "/m5?s=USD&t=EUR&a=1&c=0");
    EXPECT_EQ(QuoteRequestPath(11, 20), "/m5?s=DBT&t=GBP&a=1&c=0");
    EXPECT_EQ(QuoteRequestPath(-1, 20), "");
}

TEST(QuoteMatcher, FindsTheValueCellByItsLandmarks) {
    const std::string row = "<td nowrap><a href=\"/q?s=USDEUR=X\">USDEUR=X</a></td><td>1.0842</td><td>x</td>";
    const struct {
        std::string page;
        const char *value;  // nullptr: not found
    } cases[] = {
        {"<h2>Currency Exchange</h2>" + row, "1.0842"},
        {"<H2>CURRENCY EXCHANGE</H2><TD NOWRAP>USD</TD><TD>1.0842</TD>", "1.0842"},
        {"<h2>Currency\r\n Exchange</h2>" + row, "1.0842"},   // a line break and a space: matches
        {"<h2>Currency\nExchange</h2>" + row, nullptr},      // a line break alone: no blank left
        {"<h2>Currency\tExchange</h2>" + row, nullptr},
        {"<b>>Currency Exchange</b>" + row, nullptr},         // the second ">" breaks the first
        {"<h2>Currency Exchange</h2><td \nnowrap>USD</td><td>2</td>", "2"},
        {"<h2>Currency Exchange</h2><td\nnowrap>USD</td><td>2</td>", nullptr},
        // the ">" closing <td nowrap> does not count: the value follows a later ">"
        {"<p>currency exchange</p><td nowrap><td>9</td><td>7</td>", "7"},
        {"<p>currency exchange</p><td nowrap>x</td> <td>7</td><td>8</td>", "8"},
        // the "<" that ends the first landmark is not the one that starts the second
        {"<p>currency exchange<td nowrap>x</td><td>7</td>", nullptr},
        {"<p>currency exchange</p><td nowrap>x</td><td>N/A</td>", "n/a"},
        {"<p>currency exchange</p><td nowrap>x</td><td>5", nullptr},  // the cell never ends
        {"<p>currency exchange</p><td>1</td>", nullptr},
        {"", nullptr},
    };
    for (const auto &c : cases) {
        std::string body = c.page;
        auto value = ScanQuoteAnswer(body);
        if (c.value) {
            ASSERT_TRUE(value) << c.page;
            EXPECT_EQ(*value, c.value) << c.page;
        } else {
            EXPECT_FALSE(value) << c.page;
        }
    }
    std::string longCell = "<p>currency exchange</p><td nowrap>x</td><td>0." + std::string(700, '5') + "</td>";
    auto value = ScanQuoteAnswer(longCell);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->size(), QuoteMatcher::kMaxValue);

    // The caller is asked before every byte and can end the scan.
    std::string body = "<h2>Currency Exchange</h2>" + row;
    size_t asked = 0;
    EXPECT_FALSE(ScanQuoteAnswer(body, [&](size_t p) { return ++asked, p < 20; }));
    EXPECT_EQ(asked, 21u);
}

TEST(CurrencyTexts, RatesGeneralFormatAndFlips) {
    EXPECT_EQ(RateFromValue("1.0842"), 1.0842);
    EXPECT_EQ(RateFromValue(" 2e-3 x"), 0.002);
    for (const char *none : {"n/a", "0", "-1.5", "", "1e400", "abc"}) EXPECT_FALSE(RateFromValue(none)) << none;

    const struct {
        double v;
        const char *text;
    } general[] = {
        {2.1684, "2,1684"}, {5, "5"}, {0.1 + 0.2, "0,3"}, {1e-5, "1E-5"}, {1.5e20, "1,5E20"},
        {0.0001, "0,0001"}, {-0.5, "-0,5"}, {0, "0"}, {1e15, "1E15"}, {999999999999999, "999999999999999"},
        {123456789012345678.0, "1,23456789012346E17"}, {2.5e-7, "2,5E-7"}, {1234.5, "1234,5"},
    };
    for (const auto &g : general) EXPECT_EQ(FormatGeneral(g.v, ","), g.text) << g.v;
    EXPECT_EQ(FormatGeneral(2.1684, "."), "2.1684");
    EXPECT_EQ(FormatFlipped(20), "20.000000");
    EXPECT_EQ(FormatFlipped(1 / 0.92 * 10), "10.869565");
}

namespace {

class CurrencyOnFakeWeb : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(web_.start());
        RouteServiceHostsTo(web_.port());
        CurrencyEnvironment env;
        env.message = [this](const std::string &m) { messages.push_back(m); };
        env.startSound = [this] { ++sounds; };
        env.pump = [] { QCoreApplication::processEvents(); };
        env.separator = [] { return std::string(","); };
        conv = std::make_unique<CurrencyConverter>(std::move(env));
    }
    void TearDown() override {
        conv.reset();
        RouteServiceHostsTo(0);
        web_.stop();
    }
    // One conversion to its end; false when `finished` did not come.
    bool Convert(const char *amount, const char *from, const char *to) {
        conv->SetAmount(amount);
        conv->SetFrom(FindCurrency(from));
        conv->SetTo(FindCurrency(to));
        QSignalSpy done(conv.get(), &CurrencyConverter::finished);
        if (!conv->Start()) return false;
        return done.wait(20000);
    }

    fakeweb::Server web_;
    std::unique_ptr<CurrencyConverter> conv;
    std::vector<std::string> messages;
    int sounds = 0;
};

}  // namespace

TEST_F(CurrencyOnFakeWeb, ConvertsAndFlipsWithTheLastRate) {
    ASSERT_TRUE(Convert("10", "USD", "EUR"));
    EXPECT_EQ(conv->LastRequest(), "/m5?s=USD&t=EUR&a=1&c=0");
    EXPECT_EQ(conv->LastRate(), 0.92);
    EXPECT_EQ(conv->Shown(), "9,2");
    EXPECT_EQ(sounds, 1);
    EXPECT_FALSE(conv->Busy());
    conv->Flip();
    EXPECT_EQ(conv->From(), 48);
    EXPECT_EQ(conv->To(), 154);
    EXPECT_EQ(conv->Shown(), "10.869565");
    conv->Flip();
    EXPECT_EQ(conv->Shown(), "9.200000");
    EXPECT_EQ(conv->From(), 154);

    // The service's rates of a pair's two directions multiply to 1; other pairs differ.
    ASSERT_TRUE(Convert("1", "GBP", "JPY"));
    const double there = conv->LastRate();
    ASSERT_TRUE(Convert("1,5", "JPY", "GBP"));  // "1,5" counts as 1
    EXPECT_NEAR(there * conv->LastRate(), 1.0, 1e-9);
    EXPECT_EQ(conv->Shown(), FormatGeneral(conv->LastRate(), ","));
    ASSERT_TRUE(Convert("1", "DBT", "XAF"));
    EXPECT_NE(conv->LastRate(), there);
    EXPECT_TRUE(messages.empty());
}

TEST_F(CurrencyOnFakeWeb, NoRateLeavesThePanelAndSaysSo) {
    ASSERT_TRUE(Convert("2", "USD", "EUR"));
    ASSERT_EQ(conv->Shown(), "1,84");
    const std::pair<const char *, const char *> failing[] = {{"XAU", "XAG"}, {"AFA", "USD"}};  // 500; "N/A"
    for (auto [from, to] : failing) {
        messages.clear();
        ASSERT_TRUE(Convert("2", from, to));
        EXPECT_EQ(conv->Shown(), "1,84") << from;
        EXPECT_EQ(conv->LastRate(), 0.92) << from;
        ASSERT_EQ(messages.size(), 1u) << from;
        EXPECT_EQ(messages[0], kNoRateMessage);
    }
    // Nobody listens: a transfer error.
    RouteServiceHostsTo(1);
    messages.clear();
    ASSERT_TRUE(Convert("2", "USD", "EUR"));
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(conv->Shown(), "1,84");
}

TEST_F(CurrencyOnFakeWeb, AFlipOrAnotherCurrencyAbortsTheRunningConversion) {
    QSignalSpy done(conv.get(), &CurrencyConverter::finished);
    conv->SetAmount("10");
    ASSERT_TRUE(conv->Start());  // USD -> EUR, not answered before events run
    EXPECT_TRUE(conv->Busy());
    conv->Flip();
    EXPECT_FALSE(conv->Busy());
    EXPECT_EQ(conv->Shown(), "10.000000");  // the rate is still 1

    ASSERT_TRUE(conv->Start());  // EUR -> USD
    conv->SetTo(FindCurrency("GBP"));
    EXPECT_FALSE(conv->Busy());

    ASSERT_TRUE(conv->Start());  // EUR -> GBP, the only one answered
    ASSERT_TRUE(done.wait(20000));
    QCoreApplication::processEvents();
    ASSERT_EQ(done.count(), 1);
    EXPECT_TRUE(done[0][0].toBool());
    EXPECT_NEAR(conv->LastRate(), 0.79 / 0.92, 1e-9);
    EXPECT_EQ(conv->LastRequest(), "/m5?s=EUR&t=GBP&a=1&c=0");
    EXPECT_TRUE(messages.empty());
}
