// The page queue of an engine: duplicates ignoring ASCII case, the order pages are
// taken in, and states changed from outside.
#include "search/PageQueue.h"

#include <gtest/gtest.h>

using qm::NextPageUrl;
using qm::PageQueue;

TEST(PageQueue, DuplicatesIgnoreAsciiCaseOnly) {
    PageQueue q;
    struct Case { const char *address; bool added; };
    const Case cases[] = {
        {"http://a.example/p?n=2", true},  {"HTTP://A.EXAMPLE/P?N=2", false},
        {"http://a.example/p?n=3", true},  {"http://a.example/\xC9", true},
        {"http://a.example/\xE9", true},   {"http://A.example/\xE9", false},
        {"", true},                        {"", false},
    };
    for (const Case &c : cases) EXPECT_EQ(q.AddPage(c.address), c.added) << c.address;
    EXPECT_EQ(q.size(), 5u);
    EXPECT_TRUE(q.Contains("http://a.example/P?n=3"));
    EXPECT_FALSE(q.Contains("http://a.example/p?n=4"));
    // Append skips the test, but what it queued counts for later tests.
    q.Append("http://a.example/p?n=2", "");
    q.Append("http://b.example/", "ON");
    EXPECT_EQ(q.size(), 7u);
    EXPECT_FALSE(q.AddPage("http://B.example/"));
    q.clear();
    EXPECT_FALSE(q.Contains("http://b.example/"));
    EXPECT_TRUE(q.AddPage("http://b.example/"));
}

TEST(PageQueue, PagesAreTakenInOrderOnceEach) {
    PageQueue q;
    q.AddPage("first", "ON");
    q.AddPage("second");
    q.AddPage("third");
    EXPECT_EQ(NextPageUrl(q), "second");
    q.AddPage("fourth");
    EXPECT_EQ(NextPageUrl(q), "third");
    EXPECT_EQ(q[1].state, "HANDLED");
    // A state set back from outside makes the page due again, before later ones.
    q[1].state = "";
    EXPECT_EQ(NextPageUrl(q), "second");
    EXPECT_EQ(NextPageUrl(q), "fourth");
    EXPECT_EQ(NextPageUrl(q), "");
    q[0].state = "";
    EXPECT_EQ(NextPageUrl(q), "first");
    EXPECT_EQ(NextPageUrl(q), "");

    // A large page of links: every address once, in the order found.
    PageQueue big;
    for (int i = 0; i < 100000; ++i) big.AddPage("http://e.example/?p=" + std::to_string(i % 50000));
    ASSERT_EQ(big.size(), 50000u);
    for (int i = 0; i < 50000; ++i) ASSERT_EQ(NextPageUrl(big), "http://e.example/?p=" + std::to_string(i));
    EXPECT_EQ(NextPageUrl(big), "");
}
