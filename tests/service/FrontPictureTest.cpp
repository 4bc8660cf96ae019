#include <gtest/gtest.h>

#include "service/FrontPicture.h"
#include "toolkit/AtomicFile.h"

#include <QTemporaryDir>

using namespace qm;
using Action = FrontPicturePlan::Action;

TEST(FrontPicture, PlanKeepsABigFileAndReplacesASmallOne) {
    struct Case {
        const char *name;
        int existing;  // bytes of the file at start, -1 for none
        const char *url;
        Action action;
        bool fileAfter;
    };
    const Case cases[] = {
        {"big file shown", 2000, "http://home.example/f.gif", Action::Show, true},
        {"small file replaced", 1999, "http://home.example/f.gif", Action::Download, false},
        {"no file", -1, "http://home.example/f.gif", Action::Download, false},
        {"no address", 10, "", Action::None, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        std::string root = dir.path().toStdString();
        RemoteConfig config = ApplyConfig({"$FRONT_GIF = GFX\\Front.gif", std::string("$FRONT_URL = ") + c.url});
        std::string path = root + "/GFX/Front.gif";
        if (c.existing >= 0)
            ASSERT_TRUE(TMisc::CreatePath(root + "/GFX") && WriteFileAtomic(path, std::string(c.existing, 'G')));
        FrontPicturePlan plan = PlanFrontPicture(root, config);
        EXPECT_EQ(plan.action, c.action);
        EXPECT_EQ(plan.path, path);
        EXPECT_EQ(plan.url, c.action == Action::Download ? c.url : "");
        EXPECT_EQ(TMisc::FileExists(path), c.fileAfter);
    }
    EXPECT_EQ(PlanFrontPicture("/x", RemoteConfig{}).action, Action::None);
}

TEST(FrontPicture, OnlyAWholeAnswerIsStored) {
    QTemporaryDir dir;
    std::string path = dir.path().toStdString() + "/GFX/Front.gif";
    EXPECT_FALSE(StoreFrontPicture(path, {true, 200, false, "cut"}));
    EXPECT_FALSE(StoreFrontPicture(path, {true, 404, true, "page"}));
    EXPECT_FALSE(StoreFrontPicture(path, {false, 0, false, ""}));
    EXPECT_FALSE(TMisc::FileExists(path));
    EXPECT_TRUE(StoreFrontPicture(path, {true, 200, true, "GIF89a"}));
    EXPECT_FALSE(StoreFrontPicture(path, {true, 200, false, "GIF"}));
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    EXPECT_EQ(bytes, "GIF89a");
}
