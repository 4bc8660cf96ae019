#include "search/ExpandQuery.h"
#include "search/SearchModeModel.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

EngineDescriptor Plain(SearchMode mode) {
    EngineDescriptor d;
    d.templateAll = "http://h/all?q=<$QRY>";
    d.templateAny = "http://h/any?q=<$QRY>";
    d.templateExact = "http://h/exact?q=+%22<$QRY>%22";
    d.templateBool = "http://h/bool?q=<$QRY>";
    d.mode = mode;
    return d;
}

std::string Expand(SearchMode mode, std::string_view typed) {
    return ExpandQuery(Plain(mode), PrepareQuery(typed)).query;
}

TEST(PrepareQuery, TrimsAndTurnsBlanksIntoPlus) {
    EXPECT_EQ(PrepareQuery("big  cat "), "big++cat");
    EXPECT_EQ(PrepareQuery("   "), "");
    EXPECT_EQ(PrepareQuery("a%20b&c=\"d\""), "a%20b&c=\"d\"");  // nothing else is encoded
}

TEST(ExpandQuery, WorkedExamples) {
    auto all = ExpandQuery(Plain(SearchMode::All), PrepareQuery("big  cat "));
    EXPECT_EQ(all.query, "big++cat");
    EXPECT_EQ(all.address, "http://h/all?q=big++cat");
    EXPECT_FALSE(all.sponsored);

    EXPECT_EQ(Expand(SearchMode::Any, "big cat"), "big+OR+cat");
    EXPECT_EQ(Expand(SearchMode::Any, "dogs AND cats"), "dogs+OR+cats");
    auto exact = ExpandQuery(Plain(SearchMode::Exact), PrepareQuery("big cat"));
    EXPECT_EQ(exact.query, "big+AND+cat");
    EXPECT_EQ(exact.address, "http://h/exact?q=+%22big+AND+cat%22");
    EXPECT_EQ(Expand(SearchMode::Exact, "\"big cat\""), "big+AND+cat");
    auto boolean = ExpandQuery(Plain(SearchMode::Bool), PrepareQuery("dogs AND NOT cats"));
    EXPECT_EQ(boolean.query, "dogs+AND+NOT+cats");
    EXPECT_EQ(boolean.address, "http://h/bool?q=dogs+AND+NOT+cats");
}

TEST(ExpandQuery, DroppedWordsAndTrailingJoiner) {
    EXPECT_EQ(Expand(SearchMode::Any, "cats AND"), "cats+OR+");
    EXPECT_EQ(Expand(SearchMode::Any, "AND cats"), "cats");
    EXPECT_EQ(Expand(SearchMode::Any, "and not"), "");
    EXPECT_EQ(ExpandQuery(Plain(SearchMode::Any), PrepareQuery("and not")).address, "http://h/any?q=");
    EXPECT_EQ(Expand(SearchMode::Any, "a And b ! c & d"), "a+OR+b+OR+c+OR+d");
    EXPECT_EQ(Expand(SearchMode::Any, "x OR y"), "x+OR+OR+OR+y");  // OR is a word in Any mode
    EXPECT_EQ(Expand(SearchMode::Exact, "a OR b"), "a+AND+b");
    EXPECT_EQ(Expand(SearchMode::Exact, "a or b not"), "a+AND+b+AND+");
    EXPECT_EQ(Expand(SearchMode::Exact, "a AND b"), "a+AND+AND+AND+b");
    EXPECT_EQ(Expand(SearchMode::All, "cats & dogs"), "cats+&+dogs");
    EXPECT_EQ(Expand(SearchMode::Any, ""), "");
}

TEST(ExpandQuery, BytesAbove127SplitWordsOnlyInAnyAndExact) {
    // "caf\xe9 au lait": the accented byte separates words and is lost in Any/Exact.
    EXPECT_EQ(Expand(SearchMode::Any, "d\xe9j\xe0 vu"), "d+OR+j+OR+vu");
    EXPECT_EQ(Expand(SearchMode::Exact, "d\xe9j\xe0 vu"), "d+AND+j+AND+vu");
    EXPECT_EQ(Expand(SearchMode::All, "d\xe9j\xe0 vu"), "d\xe9j\xe0+vu");
    EXPECT_EQ(Expand(SearchMode::Bool, "d\xe9j\xe0 vu"), "d\xe9j\xe0+vu");
    // Tabs and control characters separate words too.
    EXPECT_EQ(Expand(SearchMode::Any, "a\tb\x01" "c"), "a+OR+b+OR+c");
}

TEST(ExpandQuery, OnlyTheFirstPlaceholderIsReplacedIgnoringCase) {
    EngineDescriptor d = Plain(SearchMode::All);
    d.templateAll = "http://h/?a=<$qry>&b=<$QRY>";
    EXPECT_EQ(ExpandQuery(d, "x").address, "http://h/?a=x&b=<$QRY>");
    EXPECT_EQ(ReplaceQueryPlaceholder("no placeholder", "x"), "no placeholder");
    // A query holding the placeholder text is put in once and not expanded again.
    d.templateAll = "http://h/?a=<$QRY>";
    EXPECT_EQ(ExpandQuery(d, "<$QRY>").address, "http://h/?a=<$QRY>");
}

TEST(ExpandQuery, TheQueryIsEncodedWhereItGoesIntoTheAddress) {
    // The expanded query itself stays as it is; only its copy in the address is encoded.
    struct Case {
        SearchMode mode;
        const char *typed, *query, *address;
    };
    const Case cases[] = {
        {SearchMode::All, "caf\xc3\xa9 cr\xc3\xa8me & co #1", "caf\xc3\xa9+cr\xc3\xa8me+&+co+#1",
         "http://h/all?q=caf%C3%A9+cr%C3%A8me+%26+co+%231"},
        {SearchMode::Bool, "rock & roll", "rock+&+roll", "http://h/bool?q=rock+%26+roll"},
        {SearchMode::All, "a+b=c% 100%", "a+b=c%+100%", "http://h/all?q=a+b%3Dc%25+100%25"},
        {SearchMode::All, "d\xe9j\xe0", "d\xe9j\xe0", "http://h/all?q=d%E9j%E0"},
        {SearchMode::Any, "rock & roll #2", "rock+OR+roll+OR+#2", "http://h/any?q=rock+OR+roll+OR+%232"},
        {SearchMode::Exact, "x=1 \"y\"", "x=1+AND+y", "http://h/exact?q=+%22x%3D1+AND+y%22"},
        {SearchMode::All, "plain-words_only.~!*'()", "plain-words_only.~!*'()", "http://h/all?q=plain-words_only.~!*'()"},
        {SearchMode::All, "what? why?x", "what?+why?x", "http://h/all?q=what%3F+why%3Fx"},
    };
    for (const auto &c : cases) {
        auto x = ExpandQuery(Plain(c.mode), PrepareQuery(c.typed));
        EXPECT_EQ(x.query, c.query) << c.typed;
        EXPECT_EQ(x.address, c.address) << c.typed;
    }
    EngineDescriptor d;
    d.sponsoredServe = "http://aff/bfast/serve?bfmid=1";
    d.sponsoredClick = "http://aff/bfast/click?bfmid=1&search=<$QRY>&cp=x";
    auto r = ExpandQuery(d, PrepareQuery("caf\xc3\xa9 & co"));
    EXPECT_EQ(r.click, "http://aff/bfast/click?bfmid=1&search=caf%C3%A9+%26+co&cp=x");
    EXPECT_EQ(QueryAddress(d.sponsoredClick, r.query), r.click);
}

TEST(ExpandQuery, SponsoredEnginesUseTheClickTemplate) {
    EngineDescriptor d;
    d.sponsoredServe = "http://aff/bfast/serve?bfmid=1";
    d.sponsoredClick = "http://aff/bfast/click?bfmid=1&search=<$QRY>&cp=x";
    d.mode = SearchMode::Exact;
    auto r = ExpandQuery(d, PrepareQuery("big cat"));
    EXPECT_TRUE(r.sponsored);
    EXPECT_TRUE(r.address.empty());
    EXPECT_EQ(r.serve, d.sponsoredServe);
    EXPECT_EQ(r.click, "http://aff/bfast/click?bfmid=1&search=+%22big+AND+cat%22&cp=x");
    d.mode = SearchMode::Any;
    EXPECT_EQ(ExpandQuery(d, "a+b").click, "http://aff/bfast/click?bfmid=1&search=a+OR+b&cp=x");
    d.mode = SearchMode::Bool;
    EXPECT_EQ(ExpandQuery(d, "a+b").click, "http://aff/bfast/click?bfmid=1&search=a+b&cp=x");
}

TEST(SearchModeModel, RadioItemsAndReportedChoice) {
    SearchModeModel m;
    ASSERT_EQ(m.rowCount(), 4);
    EXPECT_EQ(m.data(m.index(0), Qt::DisplayRole).toString(), "All Keywords");
    EXPECT_EQ(m.data(m.index(3), Qt::DisplayRole).toString(), "Boolean search");
    EXPECT_EQ(m.data(m.index(0), Qt::CheckStateRole).toInt(), Qt::Checked);
    std::vector<SearchMode> seen;
    m.onChosen = [&](SearchMode s) { seen.push_back(s); };
    EXPECT_TRUE(m.setData(m.index(2), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(m.Current(), SearchMode::Exact);
    EXPECT_EQ(m.data(m.index(0), Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_EQ(m.data(m.index(2), Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_FALSE(m.setData(m.index(2), Qt::Unchecked, Qt::CheckStateRole));  // cannot untick
    EXPECT_EQ(m.Current(), SearchMode::Exact);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], SearchMode::Exact);
}

}  // namespace
}  // namespace qm
