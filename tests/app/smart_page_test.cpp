// The smart finder's page in the main window, over the fake web: the breadcrumbs, a leaf
// searched from the category list, the cached icon afterwards, the count caption and the
// in-list filter.
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/SmartPage.h"
#include "fakeweb/Server.h"
#include "support/SharedFakeWeb.h"
#include "net/NetConfig.h"
#include "smart/SmartCategoryModel.h"
#include "smart/SmartSearch.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace qm;

namespace {

fakeweb::Server &Web() { return test::SharedFakeWeb(); }

// A click on the category entry named `caption` (it becomes the current, selected entry).
void ClickCategory(SmartPage *page, const QString &caption) {
    QListView *view = page->CategoryList();
    QAbstractItemModel *m = view->model();
    for (int r = 0; r < m->rowCount(); ++r) {
        const QModelIndex i = m->index(r, 0);
        if (i.data().toString() != caption) continue;
        view->setCurrentIndex(i);
        emit view->clicked(i);
        return;
    }
    ADD_FAILURE() << "no category " << caption.toStdString();
}

TEST(SmartPage, BrowseSearchCacheFilter) {
    QTemporaryDir tmp;
    RouteServiceHostsTo(Web().port(), "127.0.0.1", true);
    std::vector<std::string> alerts;
    AlertHandlerSlot() = [&](QWidget *, const std::string &t, AlertKind) { alerts.push_back(t); };
    {
        TMain w(ProgramDirs::FromRoot(tmp.path().toStdString()));
        w.Timer()->stop();
        w.ShowPage(PageId::Smart);
        RunHook(w.Hooks().showSmartCategories);
        SmartPage *page = w.Page(PageId::Smart)->findChild<SmartPage *>();
        ASSERT_NE(page, nullptr);
        QAbstractItemModel *cats = page->CategoryList()->model();
        EXPECT_EQ(cats->rowCount(), 15);
        EXPECT_EQ(page->Crumb(0)->text(), "Categories");
        EXPECT_EQ(page->Crumb(1)->text(), "");
        EXPECT_EQ(page->Crumb(2)->text(), "");
        EXPECT_TRUE(page->FilterBar()->isHidden());

        ClickCategory(page, "Computing");
        EXPECT_EQ(page->Crumb(1)->text(), "Computing");
        EXPECT_EQ(cats->rowCount(), 10);
        ClickCategory(page, "Computer Hardware");
        EXPECT_EQ(page->Crumb(2)->text(), "Computer Hardware");
        ASSERT_EQ(cats->rowCount(), 24);
        EXPECT_EQ(cats->index(0, 0).data().toString(), "CD Burners");
        const int hardDrives = [&] {
            for (int r = 0; r < 24; ++r)
                if (cats->index(r, 0).data().toString() == "Hard Drives") return r;
            return -1;
        }();
        ASSERT_GE(hardDrives, 0);
        EXPECT_TRUE(cats->index(hardDrives, 0).data(Qt::DecorationRole).isNull());

        // A click at leaf level searches the leaf.
        ClickCategory(page, "Hard Drives");
        EXPECT_TRUE(alerts.empty());
        QAbstractItemModel *list = page->ResultList()->model();
        const int rows = list->rowCount();
        ASSERT_GT(rows, 1);
        EXPECT_EQ(list->headerData(1, Qt::Horizontal).toString(), QString::number(rows) + " Sites");
        EXPECT_EQ(page->Caption()->text(), "Hard Drives");
        EXPECT_EQ(page->SearchButton()->text(), "Hard Drives");
        EXPECT_FALSE(page->FilterBar()->isHidden());
        EXPECT_EQ(w.Model().Flag(Activity::SmartSearch), 0);
        // The leaves are shown again, the searched one now with the cached icon.
        EXPECT_EQ(cats->rowCount(), 24);
        EXPECT_FALSE(cats->index(hardDrives, 0).data(Qt::DecorationRole).isNull());
        EXPECT_TRUE(cats->index(hardDrives, 0).data(SmartCategoryModel::CachedRole).toBool());
        EXPECT_TRUE(cats->index(0, 0).data(Qt::DecorationRole).isNull());

        // The button searches the chosen leaf again; a double-click shows its cache.
        auto *controller = w.findChild<SmartSearchController *>();
        ASSERT_NE(controller, nullptr);
        const int ended = controller->SearchesEnded();
        page->SearchButton()->click();
        EXPECT_EQ(controller->SearchesEnded(), ended + 1);
        emit page->CategoryList()->doubleClicked(page->CategoryList()->currentIndex());
        EXPECT_EQ(controller->SearchesEnded(), ended + 1);
        EXPECT_EQ(list->rowCount(), rows);

        // The filter selects the matching rows and counts them.
        const QString word = list->index(2, 1).data().toString().section(' ', 0, 0);
        int expected = 0;
        for (int r = 0; r < rows; ++r)
            for (int c = 1; c <= 5; ++c)
                if (list->index(r, c).data().toString().contains(word, Qt::CaseInsensitive)) {
                    ++expected;
                    break;
                }
        page->FilterBox()->setText(word);
        EXPECT_EQ(page->FilterCount()->text(), QString::number(expected) + " Found");
        EXPECT_EQ(page->ResultList()->selectionModel()->selectedRows().size(), expected);
        page->FilterBox()->setText("qmnosuchword");
        EXPECT_EQ(page->FilterCount()->text(), "");

        // Offscreen picture of the page, for a look.
        page->resize(900, 560);
        const QString png = qEnvironmentVariable("QM_SMART_PNG", tmp.filePath("smart.png"));
        EXPECT_TRUE(page->grab().save(png));

        // The breadcrumbs go back.
        emit page->Crumb(1)->clicked();
        EXPECT_EQ(cats->rowCount(), 10);
        EXPECT_EQ(page->Crumb(2)->text(), "");
        emit page->Crumb(0)->clicked();
        EXPECT_EQ(cats->rowCount(), 15);
        EXPECT_EQ(page->Crumb(1)->text(), "");
    }
    AlertHandlerSlot() = nullptr;
    RouteServiceHostsTo(0);
}

}  // namespace
