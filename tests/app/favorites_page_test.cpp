// The favorites page: CB_BOOK and its titles, the buttons that follow the selection, removal
// after the question, the popups, and the "Add selection to my favorites" items of the
// result pages that fill it.
#include "app/CataloguePage.h"
#include "app/Dialogs.h"
#include "app/FavoritesPage.h"
#include "app/MainWindow.h"
#include "app/Pages.h"
#include "app/VerticalPages.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace qm;

namespace {

QStringList Items(QMenu *m) {
    QStringList out;
    for (QAction *a : m->actions()) out << (a->isSeparator() ? "-" : a->text());
    return out;
}

ResultListModel &Model(FavoritesPage *p, FavoritesList l) {
    return *static_cast<ResultListModel *>(p->ListView(l)->model());
}

TEST(FavoritesPage, BookButtonsAndRemoval) {
    QTemporaryDir tmp;
    TMain w(ProgramDirs::FromRoot(tmp.path().toStdString()));
    w.Timer()->stop();
    w.show();  // the first show creates the folders and loads the lists
    auto *page = w.Page(PageId::Favorites)->findChild<FavoritesPage *>();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Book()->count(), 4);
    EXPECT_FALSE(page->Remove()->isEnabled());
    EXPECT_FALSE(page->View()->isEnabled());
    EXPECT_EQ(Model(page, FavoritesList::News).headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Articles");
    EXPECT_EQ(Model(page, FavoritesList::Software).headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "software");
    EXPECT_EQ(Items(page->Popup(FavoritesList::Web)),
              (QStringList{"Open selected site", "Open selected site in the same navigator", "-",
                           "Cut (Send to clipboard)", "-", "Delete selection"}));
    EXPECT_EQ(Items(page->Popup(FavoritesList::Software)),
              (QStringList{"Download", "Vist the author's site", "-", "Cut (Send to clipboard)", "-",
                           "Delete selection"}));

    std::vector<ResultRow> rows;
    for (const char *s : {"a", "b", "c", "d", "e"})
        rows.push_back({"9", -1, {s, std::string("http://") + s + ".example/", "", "", ""}});
    RunHook(w.Hooks().addFavorites, 1, std::vector<ResultRow>{});  // no rows: the entry is still shown
    EXPECT_EQ(page->Book()->currentIndex(), 1);
    EXPECT_EQ(w.Page(PageId::Favorites)->HelpPanel()->text(), "My Favorites : NEWS articles");
    RunHook(w.Hooks().addSmartFavorites, rows);
    EXPECT_EQ(page->Book()->currentIndex(), 0);
    ResultListModel &web = Model(page, FavoritesList::Web);
    EXPECT_EQ(web.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "5 Sites");

    web.SelectRow(1);
    web.SelectRow(2);
    EXPECT_TRUE(page->Remove()->isEnabled());
    EXPECT_TRUE(page->View()->isEnabled());
    // The software list shown: the buttons follow its (empty) selection.
    page->Book()->setCurrentIndex(2);
    EXPECT_FALSE(page->Remove()->isEnabled());
    page->Book()->setCurrentIndex(0);
    EXPECT_TRUE(page->Remove()->isEnabled());
    ConfirmHandlerSlot() = [](QWidget *, const std::string &) { return false; };
    page->Remove()->click();
    EXPECT_EQ(web.Count(), 5);
    ConfirmHandlerSlot() = [](QWidget *, const std::string &) { return true; };
    page->Remove()->click();
    ConfirmHandlerSlot() = {};
    ASSERT_EQ(web.Count(), 3);
    EXPECT_EQ(web.Row(2).caption, "3");
    EXPECT_FALSE(page->Remove()->isEnabled());
    EXPECT_FALSE(page->View()->isEnabled());
    page->SelectAll()->click();
    EXPECT_EQ(web.SelectedRows().size(), 3u);

    page->Book()->setCurrentIndex(3);
    EXPECT_EQ(w.Page(PageId::Favorites)->HelpPanel()->text(), "My Favorites : daily news articles");

    // A daily-news headline goes in once per URL; the daily list is then shown.
    page->Book()->setCurrentIndex(0);
    const auto &add = w.Hooks().addDailyNewsFavorite;
    ASSERT_TRUE(add);
    EXPECT_TRUE(add("Title", "US", "CNN", "2026 / 12 / 09", "http://news.example/1"));
    EXPECT_FALSE(add("Title again", "US", "CNN", "2026 / 12 / 09", "http://news.example/1"));
    ResultListModel &daily = Model(page, FavoritesList::Daily);
    ASSERT_EQ(daily.Count(), 1);
    EXPECT_EQ(daily.Row(0).subItems, (std::vector<std::string>{"Title", "US", "CNN", "2026 / 12 / 09", "http://news.example/1"}));
    RunHook(w.Hooks().showDailyNewsFavorites);
    EXPECT_EQ(page->Book()->currentIndex(), 3);
}

TEST(FavoritesPage, SoftwarePageAddsItsSelection) {
    QTemporaryDir tmp;
    TMain w(ProgramDirs::FromRoot(tmp.path().toStdString()));
    w.Timer()->stop();
    w.show();  // the first show creates the folders and loads the lists
    auto *page = w.Page(PageId::Favorites)->findChild<FavoritesPage *>();
    auto *prg = w.Page(PageId::Software)->findChild<VerticalPage *>();
    ASSERT_TRUE(page && prg);
    auto *list = static_cast<ResultListModel *>(prg->ResultList()->model());
    list->AppendRow({"", 4, {"Tool", "Free", "1M", "c", "TuCows", "d", "http://t.example/", "http://h.example/"}});
    list->SelectRow(0);
    QAction *add = nullptr;
    for (QAction *a : prg->Popup()->actions())
        if (a->text() == "Add selection to my favorites") add = a;
    ASSERT_NE(add, nullptr);
    add->trigger();
    EXPECT_EQ(page->Book()->currentIndex(), 2);
    ResultListModel &fav = Model(page, FavoritesList::Software);
    ASSERT_EQ(fav.Count(), 1);
    EXPECT_EQ(fav.Row(0).image, 4);
    EXPECT_EQ(fav.Row(0).subItems[7], "http://h.example/");
}

TEST(FavoritesPage, CatalogueAddsConvertedTitles) {
    QTemporaryDir tmp;
    TMain w(ProgramDirs::FromRoot(tmp.path().toStdString()));
    w.Timer()->stop();
    w.show();
    auto *page = w.Page(PageId::Favorites)->findChild<FavoritesPage *>();
    auto *cat = w.Page(PageId::Catalogue)->findChild<CataloguePage *>();
    ASSERT_TRUE(page && cat);
    EXPECT_EQ(cat->Categories()->count(), 17);
    EXPECT_EQ(cat->Subcategories()->count(), 13);
    EXPECT_TRUE(cat->UpdateButton()->isEnabled());
    EXPECT_EQ(Items(cat->Popup()), (QStringList{"Open", "Get more details", "Download now", "Visit the author's site",
                                                "Read users opinions", "-", "Cut (Send to clipboard)", "-",
                                                "Add selection to my favorites"}));
    auto *list = static_cast<ResultListModel *>(cat->Titles()->model());
    list->AppendRow({"", -1, {"Tool", "Free", "1M", "85%", "1200", "12/01/02", "d", "http://c.example/0-1.html"}});
    list->AppendRowAsIs(CatalogueNothingFoundRow(""));
    list->SelectRow(0);
    list->SelectRow(1);
    cat->Popup()->actions().last()->trigger();
    EXPECT_EQ(page->Book()->currentIndex(), 2);
    ResultListModel &fav = Model(page, FavoritesList::Software);
    ASSERT_EQ(fav.Count(), 1);
    EXPECT_EQ(fav.Row(0).subItems[kPrgComments], "85% / 1200  (rated/#downloads)");
    EXPECT_EQ(fav.Row(0).subItems[kPrgSource], "C|NET");
}

}  // namespace
