// The splash window's tick, key and layout rules, without a window.
#include "app/SplashModel.h"

#include <Qt>

#include <gtest/gtest.h>

#include <functional>

using namespace qm;

namespace {

// Ticks until the model says close; the number of ticks it took (0 after 100).
int TicksUntilClosed(SplashModel &m) {
    for (int n = 1; n <= 100; ++n)
        if (m.Tick()) return n;
    return 0;
}

}  // namespace

TEST(SplashModel, TicksUntilItClosesAfterEachReset) {
    struct Case {
        const char *name;
        std::function<void(SplashModel &)> steps;  // after showing with limit 10 or 15
        int limit, ticks;
    } cases[] = {
        {"at start", [](SplashModel &) {}, SplashModel::kLimitAtStart, 11},
        {"about", [](SplashModel &) {}, SplashModel::kLimitAbout, 16},
        {"activation restarts", [](SplashModel &m) { m.Tick(), m.Tick(), m.Tick(), m.Activated(); },
         SplashModel::kLimitAtStart, 11},
        {"list entered", [](SplashModel &m) { m.Tick(), m.ListEntered(); }, SplashModel::kLimitAbout, 8},
        {"list entered and left", [](SplashModel &m) { m.ListEntered(), m.Tick(), m.Tick(), m.ListLeft(); },
         SplashModel::kLimitAtStart, 4},
        {"language picked in the list",
         [](SplashModel &m) { m.ListEntered(), m.Tick(), m.Tick(), m.Tick(), m.LanguagePicked(); },
         SplashModel::kLimitAtStart, 8},
    };
    for (const auto &c : cases) {
        SplashModel m;
        EXPECT_EQ(m.Limit(), SplashModel::kLimitAtCreation);
        m.SetLimit(c.limit);
        m.Shown();
        c.steps(m);
        EXPECT_EQ(TicksUntilClosed(m), c.ticks) << c.name;
    }
    // A showing after a close starts again from zero.
    SplashModel m;
    m.SetLimit(SplashModel::kLimitAtStart);
    ASSERT_EQ(TicksUntilClosed(m), 11);
    m.SetLimit(SplashModel::kLimitAbout);
    m.Shown();
    EXPECT_EQ(TicksUntilClosed(m), 16);
}

TEST(SplashModel, KeysWithCode32OrLessClose) {
    for (int key : {Qt::Key_Backspace, Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Clear, Qt::Key_Enter, Qt::Key_Return,
                    Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt, Qt::Key_Pause, Qt::Key_CapsLock,
                    Qt::Key_Escape, Qt::Key_Space})
        EXPECT_TRUE(SplashModel::KeyCloses(key)) << std::hex << key;
    for (int key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right, Qt::Key_PageDown, Qt::Key_Home,
                    Qt::Key_A, Qt::Key_F, Qt::Key_0, Qt::Key_Exclam, Qt::Key_Delete, Qt::Key_F1, Qt::Key_Meta})
        EXPECT_FALSE(SplashModel::KeyCloses(key)) << std::hex << key;
}

TEST(SplashModel, LayoutBelowThePicture) {
    struct Case {
        int w, h, notice, list, box;
        SplashLayout want;
    } cases[] = {
        {400, 250, 12, 24, 20, {400, 321, 268, 265, 291}},
        {300, 100, 0, 20, 16, {300, 163, 106, 103, 125}},
        // A notice too tall for the room: the box stays inside the window.
        {200, 50, 40, 20, 16, {200, 113, 96, 93, 97}},
    };
    for (const auto &c : cases) {
        SplashLayout l = LayOutSplash(c.w, c.h, c.notice, c.list, c.box);
        EXPECT_EQ(l.width, c.want.width);
        EXPECT_EQ(l.height, c.want.height);
        EXPECT_EQ(l.languageLabelTop, c.want.languageLabelTop);
        EXPECT_EQ(l.languageListTop, c.want.languageListTop);
        EXPECT_EQ(l.checkBoxTop, c.want.checkBoxTop);
    }
}
