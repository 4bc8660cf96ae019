#include "search/ResultListModel.h"

#include <QClipboard>
#include <QGuiApplication>
#include <gtest/gtest.h>

namespace qm {
namespace {

ResultRow Web(std::string site, std::string location, std::string source = "E", std::string url = "",
              std::string description = "") {
    ResultRow r;
    r.subItems = {std::move(site), std::move(location), std::move(source), std::move(description), std::move(url)};
    return r;
}

std::vector<std::string> Column(const ResultListModel &m, size_t sub) {
    std::vector<std::string> out;
    for (const auto &r : m.Rows()) out.push_back(r.subItems[sub]);
    return out;
}

TEST(ResultList, AppendNumbersRowsAndCountsInTheHeader) {
    std::unique_ptr<ResultListModel> m(ResultListModel::CreateWebList());
    EXPECT_EQ(m->CountHeaderText(), "Site");
    EXPECT_EQ(m->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Site");
    ResultRow notice;
    notice.subItems = {"Nothing found for < q >...", "", "", "", ""};
    m->AppendRowAsIs(notice);
    EXPECT_EQ(m->CountHeaderText(), "Site");  // the notice is not a site
    m->Clear();
    m->AppendRow(Web("a", "http://a/"));
    EXPECT_EQ(m->CountHeaderText(), "1 Site");
    m->AppendRow(Web("b", "http://b/"));
    EXPECT_EQ(m->CountHeaderText(), "2 Sites");
    m->SetCountWords("Site", "Sites trouv\xc3\xa9s");
    EXPECT_EQ(m->CountHeaderText(), QString::fromUtf8("2 Sites trouv\xc3\xa9s"));
    EXPECT_EQ(m->Row(0).caption, "1");
    EXPECT_EQ(m->Row(1).caption, "2");
    EXPECT_EQ(m->Row(1).image, -1);
    EXPECT_EQ(m->data(m->index(1, 3), Qt::DisplayRole).toString(), "E");
    EXPECT_EQ(m->data(m->index(0, 3), Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
    EXPECT_EQ(m->columnCount(), 6);
    EXPECT_FALSE(m->flags(m->index(0, 1)) & Qt::ItemIsEditable);
}

TEST(ResultList, DuplicateTestUsesUrlElseLocationIgnoringCase) {
    std::unique_ptr<ResultListModel> m(ResultListModel::CreateWebList());
    m->AppendRow(Web("a", "http://Example.org/A"));
    m->AppendRow(Web("b", "http://shown.example/", "E", "http://click.example/go?x=1"));
    EXPECT_TRUE(m->IsDuplicateUrl("HTTP://example.ORG/a"));
    EXPECT_TRUE(m->IsDuplicateUrl("http://CLICK.example/go?x=1"));
    // The Location of a row whose URL is set is not its address.
    EXPECT_FALSE(m->IsDuplicateUrl("http://shown.example/"));
    // Case folding is ASCII only.
    m->AppendRow(Web("c", "http://x/\xc9"));
    EXPECT_FALSE(m->IsDuplicateUrl("http://x/\xe9"));
    EXPECT_TRUE(m->IsDuplicateUrl("HTTP://X/\xc9"));
}

TEST(ResultList, DuplicateIndexFollowsEveryChange) {
    std::unique_ptr<ResultListModel> m(ResultListModel::CreateWebList());
    m->AppendRow(Web("a", "http://a/"));
    m->AppendRow(Web("b", "http://b/"));
    m->AppendRow(Web("a2", "http://A/"));  // two rows with one address
    m->RemoveRowAt(0);
    EXPECT_TRUE(m->IsDuplicateUrl("http://a/"));  // the second one is still there
    m->RemoveRowAt(1);
    EXPECT_FALSE(m->IsDuplicateUrl("http://a/"));
    // Editing URL or Location moves the row's address.
    m->SetSubItem(0, kUrl, "http://u/");
    EXPECT_FALSE(m->IsDuplicateUrl("http://b/"));
    EXPECT_TRUE(m->IsDuplicateUrl("http://u/"));
    m->setData(m->index(0, int(kUrl) + 1), QByteArray(""), ResultListModel::RawTextRole);
    EXPECT_TRUE(m->IsDuplicateUrl("http://b/"));
    m->SetSubItem(0, kLocation, "http://c/");
    EXPECT_TRUE(m->IsDuplicateUrl("http://c/"));
    EXPECT_FALSE(m->IsDuplicateUrl("http://b/"));
    // Other columns leave it alone; sorting and reversing keep it.
    m->SetSubItem(0, kSite, "http://c/x");
    m->AppendRow(Web("z", "http://z/"));
    m->SortByColumn(1);
    m->ReverseItems();
    EXPECT_TRUE(m->IsDuplicateUrl("http://c/"));
    EXPECT_TRUE(m->IsDuplicateUrl("http://z/"));
    m->SelectRow(0);
    ASSERT_TRUE(m->DeleteSelectedItems());
    EXPECT_EQ(m->Count(), 1);
    EXPECT_NE(m->IsDuplicateUrl("http://c/"), m->IsDuplicateUrl("http://z/"));
    std::vector<ResultRow> rows{Web("q", "http://q/")};
    m->ResetRows(rows);
    EXPECT_TRUE(m->IsDuplicateUrl("http://q/"));
    EXPECT_FALSE(m->IsDuplicateUrl("http://z/") || m->IsDuplicateUrl("http://c/"));
    m->Clear();
    EXPECT_FALSE(m->IsDuplicateUrl("http://q/"));
    EXPECT_EQ(m->CountHeaderText(), "Site");
}

TEST(ResultList, SortByColumnRenumbersAndKeepsTheSelection) {
    std::unique_ptr<ResultListModel> m(ResultListModel::CreateWebList());
    m->AppendRow(Web("t1", "http://1/", "Sprinks"));
    m->AppendRow(Web("t2", "http://2/", "Altavista"));
    m->AppendRow(Web("t3", "http://3/", "Sprinks"));
    m->AppendRow(Web("t4", "http://4/", "Altavista"));
    m->SelectRow(2);  // t3
    m->SortByColumn(int(kSource) + 1);
    EXPECT_EQ(Column(*m, kSite), (std::vector<std::string>{"t2", "t4", "t1", "t3"}));
    EXPECT_EQ(m->Row(0).caption, "1");
    EXPECT_EQ(m->Row(3).caption, "4");
    ASSERT_EQ(m->SelectedRows(), std::vector<int>{3});
    // Sorting again by the same column is ascending again.
    m->SortByColumn(int(kSource) + 1);
    EXPECT_EQ(Column(*m, kSite), (std::vector<std::string>{"t2", "t4", "t1", "t3"}));
}

TEST(ResultList, NumericAndTextOrderAndColumnZero) {
    std::unique_ptr<ResultListModel> m(ResultListModel::CreateWebList());
    m->AppendRow(Web("10", "http://a/"));
    m->AppendRow(Web("9", "http://b/"));
    m->SortByColumn(1, ResultListModel::SortMode::Text);
    EXPECT_EQ(Column(*m, kSite), (std::vector<std::string>{"10", "9"}));
    m->SortByColumn(1, ResultListModel::SortMode::Numeric);
    EXPECT_EQ(Column(*m, kSite), (std::vector<std::string>{"9", "10"}));
    m->ReverseItems();
    EXPECT_EQ(Column(*m, kSite), (std::vector<std::string>{"10", "9"}));
    // Column 0 in text mode sorts by the icon index.
    m->SetImage(0, 3);
    m->SetImage(1, 1);
    m->SortByColumn(0);
    EXPECT_EQ(Column(*m, kSite), (std::vector<std::string>{"9", "10"}));
    EXPECT_EQ(m->Row(0).caption, "1");
}

TEST(ResultList, ToggleSelectAllByMajority) {
    std::unique_ptr<ResultListModel> m(ResultListModel::CreateWebList());
    for (int i = 0; i < 4; ++i) m->AppendRow(Web("t", "http://" + std::to_string(i) + "/"));
    m->SelectRow(0);
    m->SelectRow(1);
    m->ToggleSelectAll();  // 2 of 4 is not more than half
    EXPECT_EQ(m->SelectedRows().size(), 4u);
    m->ClearSelection();
    m->SelectRow(0);
    m->SelectRow(1);
    m->SelectRow(2);
    m->ToggleSelectAll();
    EXPECT_TRUE(m->SelectedRows().empty());
    // Twice with nothing selected: all, then none.
    m->ToggleSelectAll();
    EXPECT_EQ(m->SelectedRows().size(), 4u);
    m->ToggleSelectAll();
    EXPECT_TRUE(m->SelectedRows().empty());
    EXPECT_FALSE(m->Updating());
}

TEST(ResultList, DeleteFindHintAndCut) {
    std::unique_ptr<ResultListModel> m(ResultListModel::CreateWebList());
    m->AppendRow(Web("a", "http://a/", "E", "", "first"));
    m->AppendRow(Web("b", "http://b/", "E", "http://click/b", "second"));
    m->AppendRow(Web("c", "http://c/", "E", "", "third"));
    EXPECT_EQ(m->HintText(), "");
    EXPECT_FALSE(m->CutSelectedToClipboard());
    EXPECT_FALSE(m->DeleteSelectedItems());
    m->SelectRow(1);
    EXPECT_EQ(m->HintText(), "second");
    EXPECT_EQ(m->SelectedAddress(), "http://click/b");
    ASSERT_TRUE(m->CutSelectedToClipboard());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "http://click/b");
    EXPECT_FALSE(m->DeleteSelectedItems([] { return false; }));  // answered No
    EXPECT_EQ(m->Count(), 3);
    m->SelectRow(2);
    ASSERT_TRUE(m->DeleteSelectedItems([] { return true; }));
    ASSERT_EQ(m->Count(), 1);
    EXPECT_EQ(m->Row(0).caption, "1");
    EXPECT_EQ(m->FindItem("a", kSite), 0);
    EXPECT_EQ(m->FindItem("A", kSite), -1);  // exact comparison
    EXPECT_EQ(m->FindItem("1", 0, true), 0);
    EXPECT_EQ(m->FindItem("http://a/", kLocation), 0);
    EXPECT_EQ(m->FindItem("x", 99), -1);
}

TEST(ResultList, ListChangedIsQuietWhileUpdating) {
    std::unique_ptr<ResultListModel> m(ResultListModel::CreateWebList());
    int changes = 0;
    QObject::connect(m.get(), &ResultListModel::listChanged, [&] { ++changes; });
    m->AppendRow(Web("a", "http://a/"));
    EXPECT_EQ(changes, 1);
    m->SetUpdating(true);
    m->AppendRow(Web("b", "http://b/"));
    m->SetUpdating(false);
    EXPECT_EQ(changes, 1);
}

}  // namespace
}  // namespace qm
