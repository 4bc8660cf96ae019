#include "search/InListFilterModel.h"
#include "search/ResultListModel.h"

#include <gtest/gtest.h>

#include <QPersistentModelIndex>
#include <memory>

using namespace qm;

namespace {

std::unique_ptr<ResultListModel> WebList(const std::vector<std::string> &titles) {
    std::unique_ptr<ResultListModel> m(ResultListModel::CreateWebList());
    for (const auto &t : titles) {
        ResultRow r;
        r.subItems = {t, "http://" + t + ".example/", "Lycos", "desc " + t, ""};
        m->AppendRow(std::move(r));
    }
    return m;
}

std::vector<std::string> Titles(const ResultListModel &m) {
    std::vector<std::string> out;
    for (const auto &r : m.Rows()) out.push_back(r.caption + ":" + r.subItems[0]);
    return out;
}

}  // namespace

TEST(ListtoolsFilterModel, SelectsMatchesAndClearsOnEmptyText) {
    auto m = WebList({"red car", "blue car", "red bus", "car red"});
    m->SelectRow(1);
    EXPECT_EQ(ApplyInListFilter(*m, "red car", FilterMode::All), 2u);
    EXPECT_EQ(m->SelectedRows(), std::vector<int>({0, 3}));
    EXPECT_EQ(ApplyInListFilter(*m, "bus blue", FilterMode::Any), 2u);
    EXPECT_EQ(m->SelectedRows(), std::vector<int>({1, 2}));
    EXPECT_EQ(ApplyInListFilter(*m, "", FilterMode::All), 0u);
    EXPECT_TRUE(m->SelectedRows().empty());
    EXPECT_EQ(ApplyInListFilter(*m, " ", FilterMode::All), 4u);
    EXPECT_EQ(ApplyInListFilter(*m, " ", FilterMode::Any), 0u);
    EXPECT_TRUE(m->SelectedRows().empty());
}

TEST(ListtoolsFilterModel, MoveToTopKeepsNumbersAndSelection) {
    auto m = WebList({"a", "b", "c", "d", "e", "f"});
    QPersistentModelIndex rowC(m->index(2, 0));
    m->SelectRow(1);
    m->SelectRow(4);
    EXPECT_EQ(MoveSelectedToTop(*m, true), MoveToTopResult::Beep);
    EXPECT_EQ(Titles(*m)[0], "1:a");
    EXPECT_EQ(MoveSelectedToTop(*m, false), MoveToTopResult::Moved);
    EXPECT_EQ(Titles(*m), std::vector<std::string>({"5:e", "2:b", "1:a", "3:c", "4:d", "6:f"}));
    EXPECT_EQ(m->SelectedRows(), std::vector<int>({0, 1}));
    EXPECT_EQ(rowC.row(), 3);  // a row held elsewhere (a running check) follows the move
    EXPECT_FALSE(m->Updating());
    m->ClearSelection();
    EXPECT_EQ(MoveSelectedToTop(*m, false), MoveToTopResult::Nothing);
    // The address index still finds moved rows.
    EXPECT_TRUE(m->IsDuplicateUrl("HTTP://E.example/"));
}

// The list's texts are kept in the compared form between runs of the filter; every change
// of the list must be seen by the next run.
TEST(ListtoolsFilterModel, FindsAccentedRowsAndFollowsEveryChangeOfTheList) {
    auto m = WebList({"caf\xE9", "caf\xC3\xA9 au lait", "tea"});  // Windows-1252, UTF-8, plain
    const std::string cafe = "caf\xC3\xA9";
    EXPECT_EQ(ApplyInListFilter(*m, cafe, FilterMode::Exact), 2u);
    EXPECT_EQ(m->SelectedRows(), std::vector<int>({0, 1}));
    m->SetSubItem(2, 0, "Caf\xE9 cr\xE8me");  // edited
    EXPECT_EQ(ApplyInListFilter(*m, cafe, FilterMode::Exact), 3u);
    m->SetImage(0, 1);  // no text changes
    EXPECT_EQ(ApplyInListFilter(*m, "cr\xC3\xA8me", FilterMode::Any), 1u);
    EXPECT_EQ(m->SelectedRows(), std::vector<int>({2}));
    m->ReverseItems();  // reordered: the match is now the first row
    EXPECT_EQ(ApplyInListFilter(*m, "cr\xC3\xA8me", FilterMode::Any), 1u);
    EXPECT_EQ(m->SelectedRows(), std::vector<int>({0}));
    m->RemoveRowAt(0);
    EXPECT_EQ(ApplyInListFilter(*m, cafe, FilterMode::Exact), 2u);
    ResultRow r;
    r.subItems = {"d\xE9j\xE0 caf\xE9", "http://x.example/", "Lycos", "", ""};
    m->AppendRow(std::move(r));
    EXPECT_EQ(ApplyInListFilter(*m, cafe, FilterMode::Exact), 3u);
    m->ResetRows({});
    EXPECT_EQ(ApplyInListFilter(*m, cafe, FilterMode::Exact), 0u);
}
