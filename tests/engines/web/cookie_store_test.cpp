#include "engines/web/BeFreeEngine.h"
#include "net/CookieStore.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace qm {
namespace {

TEST(CookieStore, KeepsCookiesPerHostInAnOwnerOnlyFile) {
    QTemporaryDir dir;
    const std::string file = CookieFileIn(dir.path().toStdString());
    {
        CookieStore store(file);
        EXPECT_TRUE(store.Store("http://bfast.affiliate.example/bfast/click?x=1", "bf=1; path=/bfast; HttpOnly"));
        EXPECT_TRUE(store.Store("http://bfast.affiliate.example/", "id=7; domain=.affiliate.example"));
        EXPECT_TRUE(store.Store("http://bfast.affiliate.example/", "bf=2; path=/bfast"));  // replaces bf=1
        EXPECT_FALSE(store.Store("http://bfast.affiliate.example/", "no-name-here"));
        EXPECT_FALSE(store.Store("http://x.example/", "=v"));
        // A domain that does not cover the setting host is not taken.
        EXPECT_TRUE(store.Store("http://bfast.affiliate.example/", "evil=1; domain=victim.example"));
        EXPECT_EQ(store.Cookies().size(), 3u);
    }
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    CookieStore again(file);  // read back
    EXPECT_EQ(again.HeaderFor("http://bfast.affiliate.example/bfast/serve"), "bf=2; id=7; evil=1");
    EXPECT_EQ(again.HeaderFor("http://www.affiliate.example/"), "id=7");
    EXPECT_EQ(again.HeaderFor("http://victim.example/"), "");
    EXPECT_EQ(again.HeaderFor("http://bfast.affiliate.example:8080/other"), "id=7; evil=1");

    // Two stores of one file (the web search's and the banner bar's) keep each other's cookies.
    CookieStore other(file);
    ASSERT_TRUE(other.Store("http://ads.quillmar.example/gif", "ad=5"));
    ASSERT_TRUE(again.Store("http://bfast.affiliate.example/", "id=8; domain=.affiliate.example"));
    EXPECT_EQ(CookieStore(file).HeaderFor("http://ads.quillmar.example/"), "ad=5");
    EXPECT_EQ(CookieStore(file).HeaderFor("http://www.affiliate.example/"), "id=8");
}

TEST(CookieStore, HeaderOfCollectedSetCookieTexts) {
    EXPECT_EQ(TBeFreeEngine::CookieHeader({"a=1; path=/", " b=2 ", "junk", "c=; Max-Age=0"}), "a=1; b=2; c=");
    EXPECT_EQ(TBeFreeEngine::CookieHeader({}), "");
    EXPECT_EQ(CookieStore::HostOf("http://user@Www.Example:81/x"), "www.example");
    EXPECT_EQ(CookieStore::HostOf("no scheme"), "");
}

}  // namespace
}  // namespace qm
