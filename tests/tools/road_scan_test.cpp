// Reading the planners' pages, the European totals and the unit switch.
#include "tools/RoadPlanner.h"

#include <gtest/gtest.h>

using namespace qm;

namespace {

struct ScanCase {
    const char *what;
    std::string page;
    bool km;
    std::vector<RoadRow> rows;
};

const std::string kUsHead = "<html><b>From:</b> x<table><tr><th><B>Dis\r\ntance</B></th></tr>\n";

TEST(RoadScan, UsPages) {
    const std::string longText(600, 'x');
    const ScanCase cases[] = {
        {"steps, line breaks in landmarks and texts, entities",
         kUsHead + "<tr><td><b>1:</b> Take <i>I-90</i>\r\nwest &amp; go</td>\n"
                   "<td align=\"right\"><font size=\"2\">12.5 miles</font></td></tr>\n"
                   "<tr><td><b>2:<\n/b> Exit&nbsp;12 </t\r\nd><td align=\"right\"><font size=\"2\">\n3 miles</f\no></td>",
         false,
         {{"1: Take I-90  west & go", "12.50 miles"}, {"2: Exit 12", "3.00 miles"}}},
        {"kilometres ticked before the scan",
         kUsHead + "<td><b>1:</b>A</td><td align=\"r\"><font s=\"2\">12.5 mi</font>", true, {{"1: A", "20.11 km"}}},
        {"no landmark before the distance heading counts",
         "<b>1:</b> early</td><td a=\"1\"><font s=\"2\">9 miles</font>", false, {}},
        {"a mismatching byte is not looked at again: '::' hides the step's landmark",
         kUsHead + "<td><b>1::</b> lost</td><td a=\"r\"><f s=\"2\">1 miles</font>"
                   "<td><b>2:</b> kept</td><td a=\"r\"><f s=\"2\">2 miles</font>",
         false, {{"1: kept", "2.00 miles"}}},
        {"captures stop at 511 bytes",
         kUsHead + "<td><b>1:</b>" + longText + "</td><td a=\"r\"><f s=\"2\">1</font>", false,
         {{"1: " + longText.substr(0, 511), "1.00 miles"}}},
        {"a distance that is no number counts 0", kUsHead + "<td><b>1:</b>A</td><td a=\"r\"><f s=\"2\">n/a</font>",
         false, {{"1: A", "0.00 miles"}}},
    };
    for (const auto &c : cases) EXPECT_EQ(ScanUsRoadPage(c.page, c.km), c.rows) << c.what;
}

TEST(RoadScan, EuropeanPages) {
    const ScanCase cases[] = {
        {"nbsp and BR rules, then the cleanup",
         "<td>D&eacute;but action / distance --><b>Quitter&nbsp;Paris&nbsp;par<BR>A6<br>sud</b><!-- x --></td>"
         "<td align=right nowrap>120.5</td>",
         false, {{"Quitter Paris par / A6sud", "120.5 km"}}},
        {"a '-->' not followed by '<b>' waits for the next one; line breaks in landmarks",
         "but action / di --> <b>no</b><!-- --><b>Yes\r\n<b>now</b><!\n-- --> <td nowrap>\n7</t\nd>",
         false, {{"Yes  now", " 7 km"}}},
        {"each step waits for its own action landmark",
         "but action / di--><b>A</b><!-- nowrap>1</td> --><b>B</b><!-- nowrap>2</td>"
         "but action / di--><b>C&amp;D</b><!-- nowrap>3</td>",
         false, {{"A", "1 km"}, {"C&D", "3 km"}}},
        {"a page without landmarks", "<html><p>Localit&eacute; inconnue</p></html>", false, {}},
    };
    for (const auto &c : cases) EXPECT_EQ(ScanEuRoadPage(c.page), c.rows) << c.what;
}

TEST(RoadScan, ScanStopsWhenTheBusyFlagClears) {
    std::string page = kUsHead;
    for (int i = 0; i < 200; ++i) page += "<td><b>1:</b>A</td><td a=\"r\"><f s=\"2\">1</font>";
    int calls = 0;
    auto rows = ScanUsRoadPage(page, false, [&] { return ++calls < 3; });  // clears after 1024 bytes
    EXPECT_EQ(calls, 3);
    EXPECT_GT(rows.size(), 0u);
    EXPECT_LT(rows.size(), 30u);
    EXPECT_EQ(ScanUsRoadPage(page, false, [] { return true; }).size(), 200u);
}

TEST(RoadScan, EuropeanTotals) {
    struct Case {
        std::vector<RoadRow> steps;
        const char *distance, *time;
    } cases[] = {
        {{{"a", "100.0 km"}, {"b", "20 km"}}, "120.00 km", "1.33 heures"},
        {{{"a", "60 km"}}, "60.00 km", "40.00 minutes"},
        {{{"a", "90 km"}}, "90.00 km", "1.00 heures"},
        {{{"a", " km"}, {"b", "45,5 km"}}, "45.00 km", "30.00 minutes"},
    };
    for (auto &c : cases) {
        auto rows = c.steps;
        AppendEuRoadTotals(rows);
        ASSERT_EQ(rows.size(), c.steps.size() + 3);
        EXPECT_EQ(rows[c.steps.size()], RoadRow{});
        EXPECT_EQ(rows[c.steps.size() + 1], (RoadRow{"Distance totale:", c.distance}));
        EXPECT_EQ(rows[c.steps.size() + 2], (RoadRow{"Temps total (à 90km/h):", c.time}));
    }
}

TEST(RoadScan, UnitSwitchConvertsOncePerSwitchAndNeverTheTime) {
    std::vector<RoadRow> rows{{"a", "100.0 km"}, {"b", "20 km"}};
    AppendEuRoadTotals(rows);
    rows.push_back({"Travel time: about", "3 hours"});
    SwitchRoadUnits(rows, false);
    EXPECT_EQ(rows[0].distance, "62.15 miles");
    EXPECT_EQ(rows[1].distance, "12.43 miles");
    EXPECT_EQ(rows[2], RoadRow{});
    EXPECT_EQ(rows[3].distance, "74.58 miles");
    EXPECT_EQ(rows[4].distance, "1.33 heures");
    EXPECT_EQ(rows[5].distance, "3 hours");
    SwitchRoadUnits(rows, false);  // already in miles: nothing changes
    EXPECT_EQ(rows[0].distance, "62.15 miles");
    SwitchRoadUnits(rows, true);
    EXPECT_EQ(rows[0].distance, "100.00 km");
    EXPECT_EQ(rows[1].distance, "20.00 km");
    EXPECT_EQ(rows[3].distance, "120.00 km");
    EXPECT_EQ(rows[4].distance, "1.33 heures");
    EXPECT_EQ(rows[5].distance, "3 hours");
}

TEST(RoadScan, NumbersAreLocaleFree) {
    EXPECT_EQ(FormatFixed2(1.005), "1.00");  // binary 1.00499...
    EXPECT_EQ(FormatFixed2(2.0 / 3 * 60), "40.00");
    EXPECT_DOUBLE_EQ(FirstWordNumber("  +12.5km x"), 12.5);
    EXPECT_DOUBLE_EQ(FirstWordNumber("nan miles"), 0);
    EXPECT_DOUBLE_EQ(FirstWordNumber(""), 0);
}

}  // namespace
