// Request addresses, the planner switch, flip, suggested names and saved files.
#include "tools/RoadPlanner.h"
#include "toolkit/AtomicFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qm;

namespace {

std::string QueryValue(const std::string &request, const std::string &key) {
    size_t at = request.find(key + "=");
    if (at == std::string::npos) return "<absent>";
    at += key.size() + 1;
    return request.substr(at, request.find('&', at) - at);
}

TEST(RoadRequest, UsAddresses) {
    struct Case {
        RoadUsPlace from, to;
        bool fastest;
        std::vector<std::pair<std::string, std::string>> expect;
    } cases[] = {
        {{"1 Main St", "Boston", "MA", ""}, {"", "", "", "10001"}, false,
         {{"OAD2", "1+Main+St"}, {"OAD3", "Boston,+MA"}, {"DAD2", ""}, {"DAD3", "10001"}, {"PCT", "easy"}}},
        {{"", " Boston ", "", ""}, {"x", "Troy", "NY", "12180"}, true,
         {{"OAD3", "[CITY1]"}, {"DAD3", "12180"}, {"PCT", "short"}}},
        {{"Rte 1 & Elm", "Brighton & Hove", "UK", ""}, {"2 Oak #5", "M\xc3\xa2" "con", "FR", ""}, false,
         {{"OAD2", "Rte+1+%26+Elm"}, {"OAD3", "Brighton+%26+Hove,+UK"}, {"DAD2", "2+Oak+%235"},
          {"DAD3", "M%C3%A2con,+FR"}}},
        {{"[ADR2]", "a=b?c", "x/y", ""}, {"-._,*", "", "", "[MODE]"}, false,
         {{"OAD2", "%5BADR2%5D"}, {"OAD3", "a%3Db%3Fc,+x%2Fy"}, {"DAD2", "-._,*"}, {"DAD3", "%5BMODE%5D"},
          {"PCT", "easy"}}},
    };
    for (const auto &c : cases) {
        const std::string r = UsRoadRequest(c.from, c.to, c.fastest);
        EXPECT_EQ(r.rfind("/directions.asp?OAD2=", 0), 0u) << r;
        EXPECT_NE(r.find("&showmap=1&PCT="), std::string::npos) << r;
        EXPECT_EQ(r.find(' '), std::string::npos) << r;
        for (const auto &[key, value] : c.expect) EXPECT_EQ(QueryValue(r, key), value) << r;
    }
}

TEST(RoadRequest, EuropeanAddress) {
    RoadEuPlace from{"Paris", "75013", kRoadDefaultCountry}, to{"Sankt Gallen", "9000", FindRoadCountry("suisse")};
    EXPECT_EQ(EuRoadRequest(from, to),
              "/cgi-bin/geo/isroad.exe?Depart_Ville=Paris&Depart_Code_Postal=75013&Depart_Pays=33"
              "&Arrivee_Ville=Sankt+Gallen&Arrivee_Code_Postal=9000&Arrivee_Pays=41&Optimisation=T&carte=0&u=isroad"
              "&Lng=f&Mod=_IT.mod&Page=v&option=T&x=7&y=9");
}

TEST(RoadRequest, CountriesAndLanguages) {
    ASSERT_EQ(RoadCountries().size(), 50u);
    EXPECT_STREQ(RoadCountries()[kRoadDefaultCountry].name, "France");
    EXPECT_STREQ(RoadCountries()[45].name, "Bohème-Moravie");
    EXPECT_STREQ(RoadCountries()[45].code, "421");
    EXPECT_STREQ(RoadCountries()[39].code, "7");
    EXPECT_EQ(FindRoadCountry("GRÈCE"), -1);  // only ASCII letters fold
    EXPECT_EQ(FindRoadCountry("Grèce"), 20);
    EXPECT_EQ(FindRoadCountry("49"), 49);
    EXPECT_EQ(FindRoadCountry("50"), -1);
    EXPECT_EQ(RoadPlannerForLanguage("french"), RoadMode::Europe);
    EXPECT_EQ(RoadPlannerForLanguage("English"), RoadMode::US);
    EXPECT_EQ(RoadPlannerForLanguage("Italian"), RoadMode::US);
}

TEST(RoadPlannerController, PlannerButtonsFlipAndNames) {
    RoadPlanner p;
    p.usFrom = {"1 Main St", "Boston", "MA", ""};
    p.usTo = {"", "New York", "NY", "10001"};
    p.euFrom = {"Paris", "75000", 16};
    p.euTo = {"Genève", "1200", 44};
    p.SetRows({{"1: A", "10.00 miles"}});
    const auto us = std::make_pair(p.usFrom.city, p.usTo.zip);
    p.Flip();
    EXPECT_EQ(p.usFrom.city, "New York");
    EXPECT_EQ(p.usTo.address, "1 Main St");
    EXPECT_EQ(p.euFrom.town, "Paris");  // the US planner flips the US fields only
    p.Flip();
    EXPECT_EQ(std::make_pair(p.usFrom.city, p.usTo.zip), us);
    EXPECT_EQ(p.SuggestedFileName(), "Boston - New York.txt");

    p.SelectPlanner(RoadMode::Europe);  // ticks the kilometre box: the rows follow
    EXPECT_TRUE(p.Km());
    EXPECT_EQ(p.Rows()[0].distance, "16.09 km");
    EXPECT_EQ(p.SuggestedFileName(), "Itinéraire Paris - Genève.txt");
    p.Flip();
    EXPECT_EQ(p.euFrom.country, 44);
    EXPECT_EQ(p.euTo.town, "Paris");
    p.Flip();
    EXPECT_EQ(p.euFrom.town, "Paris");
    EXPECT_EQ(p.euTo.country, 44);
    EXPECT_EQ(p.PrintHeadings()[0], "From: Paris - 75000 France");
    EXPECT_EQ(p.PrintHeadings()[1], "To: Genève - 1200 Suisse");
    p.SetKm(false);
    EXPECT_EQ(p.Rows()[0].distance, "10.00 miles");
}

TEST(RoadPlannerController, SavedFilesByteForByte) {
    QTemporaryDir tmp;
    RoadPlanner p;
    p.usFrom = {" 1 Main St", "Boston", "MA", ""};
    p.usTo = {"", "New York", "NY", "10001"};
    p.SetRows({{"1: Take I-90", "12.50 miles"}, {"2: Exit", "3.00 miles"}});
    const std::string usPath = tmp.filePath("us.txt").toStdString();
    ASSERT_TRUE(p.SaveTo(usPath));
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(usPath, bytes));
    EXPECT_EQ(bytes,
              "--------- From ---------\r\n\r\nAddress:\n1 Main St\r\nCity:\nBoston\r\nState:\nMA\r\nZIP code:\n\r\n"
              "\r\n--------- To ---------\r\n\r\nAddress:\n\r\nCity:\nNew York\r\nState:\nNY\r\nZIP code:\n10001\r\n"
              "\r\n\r\n\r\n############## Road Plan ##############\r\n\r\n\r\n"
              "(12.50 miles)\t1: Take I-90\r\n(3.00 miles)\t2: Exit\r\n");

    p.SelectPlanner(RoadMode::Europe);
    p.euFrom = {"Paris", "75000", 16};
    p.euTo = {"Genève", "1200", 44};
    std::vector<RoadRow> rows{{"Quitter Paris", "100 km"}};
    AppendEuRoadTotals(rows);
    p.SetRows(rows);
    const std::string euPath = tmp.filePath("eu.txt").toStdString();
    ASSERT_TRUE(p.SaveTo(euPath));
    ASSERT_TRUE(ReadWholeFile(euPath, bytes));
    EXPECT_EQ(bytes,
              "--------- Ville de départ ---------\r\n\r\nVille:\tParis\r\nCode postal:\t75000\r\nPays:\tFrance\r\n\r\n"
              "--------- Ville de d'arrivée ---------\r\n\r\nVille:\tGenève\r\nCode postal:\t1200\r\nPays:\tSuisse\r\n"
              "\r\n\r\n\r\n############## ITINERAIRE ##############\r\n\r\n\r\n"
              "(100 km)\tQuitter Paris\r\n()\t\r\n(100.00 km)\tDistance totale:\r\n"
              "(1.11 heures)\tTemps total (à 90km/h):\r\n");

    EXPECT_FALSE(p.SaveTo(tmp.filePath("missing/folder/x.txt").toStdString()));
}

}  // namespace
