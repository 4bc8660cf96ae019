// The address index of the result list against a plain scan of the rows, through long runs of
// random changes (the index's table grows, and removals shift probe runs back).
#include "search/ResultListModel.h"

#include <gtest/gtest.h>

#include <random>

namespace qm {
namespace {

ResultRow Web(std::string location, std::string url = "") {
    ResultRow r;
    r.subItems = {"site", std::move(location), "E", "", std::move(url)};
    return r;
}

bool ScanHas(const ResultListModel &m, std::string_view address) {
    const std::string want = AsciiLower(address);
    for (int i = 0; i < m.Count(); ++i)
        if (AsciiLower(m.AddressOf(i)) == want) return true;
    return false;
}

// Addresses of lengths around the 8-byte steps, in mixed case, some with bytes above 127 whose
// low seven bits are letters (they must not be folded).
std::string Address(std::mt19937 &rng) {
    static const char *const kStems[] = {"h://a", "http://x", "http://ab.example/", "HTTP://AB.EXAMPLE/",
                                         "http://\xc1\xda.example/", "http://\xe1\xfa.example/"};
    std::string a = kStems[rng() % 6];
    const int extra = int(rng() % 12);
    for (int i = 0; i < extra; ++i) a += "aBzZ@[`{"[rng() % 8];
    return a;
}

TEST(ResultIndex, FollowsRandomChangesLikeAScan) {
    std::mt19937 rng(7);
    std::unique_ptr<ResultListModel> m(ResultListModel::CreateWebList());
    for (int step = 0; step < 6000; ++step) {
        const int op = int(rng() % 100);
        const int n = m->Count();
        if (op < 40) {
            m->AppendRow(rng() % 2 ? Web(Address(rng)) : Web(Address(rng), Address(rng)));
        } else if (op < 50) {
            m->InsertRowAt(int(rng() % unsigned(n + 1)), Web(Address(rng)));
        } else if (op < 65 && n > 0) {
            m->RemoveRowAt(int(rng() % unsigned(n)));
        } else if (op < 70 && n > 0) {
            m->RemoveRowList({int(rng() % unsigned(n)), int(rng() % unsigned(n)), n / 2, n / 2 + 1});
        } else if (op < 85 && n > 0) {
            // Setting or clearing the URL switches the address between URL and Location.
            const bool url = rng() % 2;
            m->SetSubItem(int(rng() % unsigned(n)), url ? kUrl : kLocation, rng() % 3 ? Address(rng) : "");
        } else if (op < 88 && n > 1) {
            m->SortByColumn(int(kLocation) + 1);
        } else if (op < 90) {
            m->ReverseItems();
        } else if (op == 90) {
            m->Clear();
        } else if (op == 91) {
            std::vector<ResultRow> rows;
            for (int i = 0; i < 300; ++i) rows.push_back(Web(Address(rng), rng() % 4 ? "" : Address(rng)));
            m->ResetRows(std::move(rows));
        }
        if (step % 50 == 0 || op >= 88) {
            for (int i = 0; i < m->Count(); ++i) {
                ASSERT_TRUE(m->IsDuplicateUrl(m->AddressOf(i))) << "step " << step;
                // The other case of the whole address finds it too.
                std::string upper(m->AddressOf(i));
                for (char &c : upper)
                    if (c >= 'a' && c <= 'z') c = char(c - 32);
                ASSERT_TRUE(m->IsDuplicateUrl(upper)) << "step " << step;
            }
            for (int k = 0; k < 40; ++k) {
                const std::string probe = Address(rng);
                ASSERT_EQ(m->IsDuplicateUrl(probe), ScanHas(*m, probe)) << "step " << step << " " << probe;
            }
        }
    }
}

TEST(ResultIndex, CountsAddressesAndFoldsOnlyAsciiLetters) {
    AddressIndex index;
    // Every byte value next to every other: only A-Z fold, nothing else.
    for (int b = 0; b < 256; ++b) {
        const std::string a = "pad-" + std::string(1, char(b)) + "-pad-pad";
        index.Add(a);
        const char folded = (b >= 'A' && b <= 'Z') ? char(b + 32) : char(b);
        EXPECT_TRUE(index.Contains("pad-" + std::string(1, folded) + "-pad-pad")) << b;
        EXPECT_EQ(AddressIndex::Hash(a), AddressIndex::Hash("PAD-" + std::string(1, folded) + "-PAD-PAD")) << b;
    }
    EXPECT_EQ(index.Size(), 256u - 26u);
    // Counted: an address stays until its last copy is removed.
    index.Clear();
    for (int i = 0; i < 5000; ++i) index.Add("http://h" + std::to_string(i % 2500) + ".example/");
    EXPECT_EQ(index.Size(), 2500u);
    for (int i = 0; i < 2500; ++i) index.Remove("HTTP://H" + std::to_string(i) + ".EXAMPLE/");
    for (int i = 0; i < 2500; i += 7) EXPECT_TRUE(index.Contains("http://h" + std::to_string(i) + ".example/"));
    for (int i = 0; i < 2500; ++i) index.Remove("http://h" + std::to_string(i) + ".example/");
    EXPECT_EQ(index.Size(), 0u);
    EXPECT_FALSE(index.Contains("http://h1.example/"));
    index.Remove("http://never.example/");  // absent: nothing happens
    EXPECT_FALSE(index.Contains(""));
    index.Add("");
    EXPECT_TRUE(index.Contains(""));
}

TEST(ResultIndex, RemovingRowsOutOfRangeKeepsTheValidOnes) {
    std::unique_ptr<ResultListModel> m(ResultListModel::CreateWebList());
    for (const char *a : {"http://a/", "http://b/", "http://c/", "http://d/"}) m->AppendRow(Web(a));
    m->RemoveRowList({-1, 0, 1, 3, 4, 99});
    ASSERT_EQ(m->Count(), 1);
    EXPECT_EQ(m->AddressOf(0), "http://c/");
    EXPECT_FALSE(m->IsDuplicateUrl("http://a/"));
    EXPECT_FALSE(m->IsDuplicateUrl("http://d/"));
    EXPECT_TRUE(m->IsDuplicateUrl("http://C/"));
}

}  // namespace
}  // namespace qm
