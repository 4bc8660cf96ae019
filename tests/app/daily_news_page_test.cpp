// The Daily News tab in the window: group buttons and the date bar, the update buttons, the
// headline list with its favorites button and popup, over the fake web.
// QUILLMAR_SHOT_DIR=folder also saves the tab as PNG.
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/Pages.h"
#include "fakeweb/Server.h"
#include "net/NetConfig.h"
#include "news/DailyNews.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace qm;

namespace {

template <class T>
T *Child(TMain &w, const char *name) {
    T *c = w.findChild<T *>(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
}

void ClickItem(QTreeWidget *tree, QTreeWidgetItem *item) {
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

TEST(DailyNewsPage, ButtonsMenusDateBarAndAnUpdate) {
    QTemporaryDir tmp;
    fakeweb::Server web;
    ASSERT_TRUE(web.start(0));
    RouteServiceHostsTo(web.port(), "127.0.0.1", /*everyHost=*/true);
    AlertHandlerSlot() = [](QWidget *, const std::string &, AlertKind) {};
    {
        TMain w(ProgramDirs::FromRoot(tmp.path().toStdString()));
        w.Timer()->stop();
        w.resize(1000, 640);
        w.show();
        w.ShowPage(PageId::DailyNews);
        auto *news = Child<DailyNews>(w, "DailyNews");
        auto *tree = Child<QTreeWidget>(w, "TV");
        auto *list = Child<QTreeWidget>(w, "LV_CNN");
        auto *upOne = Child<QPushButton>(w, "BT_DNC_UPONE");
        auto *upAll = Child<QPushButton>(w, "BT_DNC_UPALL");
        auto *fav = Child<QPushButton>(w, "BT_DNC_FAV");
        auto *date = Child<QLabel>(w, "PNL_CNN_DATE");
        auto *popup = Child<QMenu>(w, "POP_DNC");
        news->SetClock([] { return NewsDay{2001, 5, 7}; });

        QTest::mouseClick(Child<QToolButton>(w, "BT_DNC_FR"), Qt::LeftButton);
        EXPECT_EQ(date->text(), "   7 Mai 2001");
        EXPECT_EQ(tree->topLevelItem(0)->text(0), "LES ACTUALITES DU JOUR");
        QTest::mouseClick(Child<QToolButton>(w, "BT_DNC_US"), Qt::LeftButton);
        EXPECT_EQ(date->text(), "   May 7, 2001");
        EXPECT_EQ(tree->topLevelItem(0)->childCount(), 9);
        EXPECT_FALSE(upOne->isEnabled());
        EXPECT_TRUE(upAll->isEnabled());
        EXPECT_EQ(upAll->text(), "Update all");
        EXPECT_FALSE(fav->isEnabled());

        // A section with today's file: its rows; the root: nothing to update.
        HeadlineList rows = {{"---------------- USA ----------------", "", "", ""}, {}, {"Story", "http://u/1", "ABC US", "US"}};
        ASSERT_TRUE(news->SaveSectionFile(rows, "ABC US"));
        news->RefreshSectionIcons();
        ClickItem(tree, tree->topLevelItem(0)->child(5));
        EXPECT_TRUE(upOne->isEnabled());
        ASSERT_EQ(list->topLevelItemCount(), 3);
        EXPECT_EQ(list->topLevelItem(2)->text(1), "Story");
        EXPECT_EQ(Child<QLabel>(w, "LBL_DNC")->text(), "News brought to you by : ABC News");
        ClickItem(tree, tree->topLevelItem(0));
        EXPECT_FALSE(upOne->isEnabled());
        EXPECT_EQ(list->topLevelItemCount(), 3);  // the list keeps what it shows
        ClickItem(tree, tree->topLevelItem(0)->child(5));

        // Header rows offer nothing; a headline enables the button and the popup.
        std::vector<std::string> added;
        w.Hooks().addDailyNewsFavorite = [&](const std::string &title, const std::string &, const std::string &,
                                             const std::string &day, const std::string &url) {
            added.push_back(title + "|" + day + "|" + url);
            return added.size() == 1;
        };
        list->setCurrentItem(list->topLevelItem(0));
        EXPECT_FALSE(fav->isEnabled());
        emit popup->aboutToShow();
        EXPECT_FALSE(popup->actions().back()->isEnabled());
        list->setCurrentItem(list->topLevelItem(2));
        EXPECT_TRUE(fav->isEnabled());
        emit popup->aboutToShow();
        EXPECT_TRUE(popup->actions().back()->isEnabled());
        QTest::mouseClick(fav, Qt::LeftButton);
        EXPECT_EQ(added, std::vector<std::string>{"Story|2001 / 05 / 07|http://u/1"});
        EXPECT_EQ(w.CurrentPage(), PageId::Favorites);
        w.ShowPage(PageId::DailyNews);
        QTest::mouseClick(fav, Qt::LeftButton);  // already there: no switch
        EXPECT_EQ(w.CurrentPage(), PageId::DailyNews);

        // A language file named after a group chooses it.
        RunHook(w.Hooks().applyLanguage, std::string("Spanish"));
        EXPECT_TRUE(Child<QToolButton>(w, "BT_DNC_ES")->isChecked());
        EXPECT_EQ(tree->topLevelItem(0)->text(0), "NUEVAS DE AHORA");
        RunHook(w.Hooks().applyLanguage, std::string("English"));
        EXPECT_TRUE(Child<QToolButton>(w, "BT_DNC_US")->isChecked());

        // "Update all" over the fake web, then the remembered section's rows.
        news->SetClock({});
        news->BuildSectionTree();
        ClickItem(tree, tree->topLevelItem(0)->child(0));
        QTest::mouseClick(upAll, Qt::LeftButton);
        EXPECT_EQ(upAll->text(), "Update all");
        EXPECT_FALSE(news->Updating());
        EXPECT_EQ(w.Model().Flag(Activity::DailyNewsUpdate), 0);
        for (int n = 1; n <= 9; ++n) EXPECT_EQ(news->Image(n), NodeImage::Cached) << n;
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(tree->topLevelItem(0)->child(7)).center());
        EXPECT_GT(list->topLevelItemCount(), 10);
        QCoreApplication::sendPostedEvents();  // pending layout requests
        if (const char *dir = std::getenv("QUILLMAR_SHOT_DIR")) w.grab().save(QString(dir) + "/daily-news.png");
    }
    RouteServiceHostsTo(0);
}

}  // namespace
