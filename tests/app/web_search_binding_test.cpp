// The web page bound to the web search: a search from the button over the fake web fills
// the list view, the button reads "Stop" meanwhile, Stop and the "A" key work on the page.
#include "app/Browser.h"
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/WebPage.h"
#include "fakeweb/Server.h"
#include "support/SharedFakeWeb.h"
#include "net/NetConfig.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QLabel>
#include <QToolButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

#include <algorithm>

using namespace qm;

namespace {

fakeweb::Server &Web() { return test::SharedFakeWeb(); }

TEST(WebSearchBinding, SearchFromThePageFillsTheListView) {
    QTemporaryDir tmp;
    RouteServiceHostsTo(Web().port());
    std::vector<std::string> alerts;
    AlertHandlerSlot() = [&](QWidget *, const std::string &t, AlertKind) { alerts.push_back(t); };
    {
        TMain w(ProgramDirs::FromRoot(tmp.path().toStdString()));
        w.Timer()->stop();
        WebPage *page = w.Web();
        ASSERT_NE(page, nullptr);
        QAbstractItemModel *model = page->ResultList()->model();
        ASSERT_NE(model, nullptr);
        EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Site");

        page->ModeAction(2)->trigger();  // "Exact phrase" for the next search
        page->QueryBox()->setEditText("big cat");
        QString captionWhileRunning;
        QTimer::singleShot(0, [&] { captionWhileRunning = page->SearchButton()->text(); });
        page->SearchButton()->click();  // returns when the search has ended
        EXPECT_EQ(captionWhileRunning, "Stop");
        EXPECT_EQ(page->SearchButton()->text(), "Search");
        EXPECT_FALSE(w.Model().searching());
        ASSERT_GT(model->rowCount(), 10);
        EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QString::number(model->rowCount()) + " Sites");
        EXPECT_TRUE(alerts.empty());

        // "A" on the list selects every row; again deselects them.
        QTest::keyClick(page->ResultList(), Qt::Key_A);
        EXPECT_EQ(page->ResultList()->selectionModel()->selectedRows().size(), model->rowCount());
        QTest::keyClick(page->ResultList(), Qt::Key_A);
        EXPECT_TRUE(page->ResultList()->selectionModel()->selectedRows().empty());

        // Selecting a row shows its description in the hint memo.
        page->ResultList()->selectionModel()->select(model->index(0, 0), QItemSelectionModel::Select |
                                                                             QItemSelectionModel::Rows);
        EXPECT_FALSE(page->HintMemo()->toPlainText().isEmpty());

        // A click on the "Site" title sorts the rows by site and renumbers them.
        {
            QHeaderView *header = page->ResultList()->header();
            header->resize(800, header->sizeHint().height());
            const QPoint at(header->sectionViewportPosition(1) + 5, header->height() / 2);
            QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
            std::vector<QString> sites;
            for (int r = 0; r < model->rowCount(); ++r) sites.push_back(model->index(r, 1).data().toString());
            EXPECT_TRUE(std::is_sorted(sites.begin(), sites.end(), [](const QString &a, const QString &b) {
                return QString::localeAwareCompare(a, b) < 0;
            }));
            EXPECT_EQ(model->index(0, 0).data().toString(), "1");
            EXPECT_EQ(model->index(1, 0).data().toString(), "2");
        }

        // Enter pressed in the list opens the selected row on its release; a release alone
        // (the Enter that chose a popup item or closed a dialog) opens nothing.
        {
            std::vector<std::string> opened;
            BrowserRunnerSlot() = [&](const BrowserPlan &plan) {
                opened.push_back(plan.url);
                return true;
            };
            page->ResultList()->selectionModel()->clearSelection();
            page->ResultList()->selectionModel()->select(model->index(0, 0), QItemSelectionModel::Select |
                                                                                 QItemSelectionModel::Rows);
            QTest::keyRelease(page->ResultList(), Qt::Key_Return);
            QTest::keyRelease(page->ResultList(), Qt::Key_A);
            EXPECT_TRUE(opened.empty());
            EXPECT_EQ(page->ResultList()->selectionModel()->selectedRows().size(), 1);
            QTest::keyClick(page->ResultList(), Qt::Key_Return);
            ASSERT_EQ(opened.size(), 1u);
            EXPECT_NE(opened[0].find(".example"), std::string::npos);
            BrowserRunnerSlot() = nullptr;
        }

        // Stop from the button while a search runs.
        QTimer::singleShot(0, [&] { page->SearchButton()->click(); });
        page->SearchButton()->click();
        EXPECT_FALSE(w.Model().searching());
        EXPECT_EQ(page->SearchButton()->text(), "Search");
    }
    AlertHandlerSlot() = nullptr;
    RouteServiceHostsTo(0);
}

// The engine panel and the status bar say what each engine did, and the panel's shown
// state is kept in the options.
TEST(WebSearchBinding, EnginePanelAndStatusText) {
    QTemporaryDir tmp;
    AlertHandlerSlot() = [](QWidget *, const std::string &, AlertKind) {};
    {
        TMain w(ProgramDirs::FromRoot(tmp.path().toStdString()));
        w.Timer()->stop();
        WebPage *page = w.Web();
        QAbstractItemModel *engines = page->EngineStatusView()->model();
        ASSERT_NE(engines, nullptr);

        // Every engine refused: the status bar says so, every line gives the reason.
        RouteServiceHostsTo(1);
        page->QueryBox()->setEditText("offline test");
        QStringList seenWhileRunning;
        QObject::connect(engines, &QAbstractItemModel::dataChanged,
                         [&] { seenWhileRunning << w.SearchStatus()->text(); });
        page->SearchButton()->click();
        EXPECT_EQ(w.SearchStatus()->text(), "No engine could be reached: check the connection or the proxy settings");
        ASSERT_EQ(engines->rowCount(), 17);
        for (int r = 0; r < engines->rowCount(); ++r) {
            EXPECT_EQ(engines->index(r, 1).data().toString(), "failed") << r;
            EXPECT_TRUE(engines->index(r, 5).data().toString().contains("refused")) << r;
        }
        EXPECT_TRUE(std::any_of(seenWhileRunning.begin(), seenWhileRunning.end(),
                                [](const QString &t) { return t.startsWith("Searching: "); }));
        EXPECT_EQ(page->EngineToggle()->text(), "Engines: 17 of 17 done, 17 failed");

        // Over the fake web: sites and engines counted.
        RouteServiceHostsTo(Web().port());
        page->SearchButton()->click();
        const int sites = page->ResultList()->model()->rowCount();
        EXPECT_TRUE(w.SearchStatus()->text().startsWith(QString::number(sites) + " sites from 17 engines in "))
            << w.SearchStatus()->text().toStdString();
        for (int r = 0; r < engines->rowCount(); ++r) EXPECT_EQ(engines->index(r, 1).data().toString(), "done") << r;

        if (const char *shots = std::getenv("QUILLMAR_SCREENSHOTS")) {
            page->SetEngineStatusShown(true);
            w.resize(1024, 768);
            w.show();
            QApplication::processEvents();
            w.grab().save(QString("%1/web-engines-1024x768.png").arg(shots));
        }

        // Shown or hidden, remembered in the options.
        const bool shown = page->EngineStatusView()->isVisibleTo(page);
        page->EngineToggle()->click();
        EXPECT_EQ(page->EngineStatusView()->isVisibleTo(page), !shown);
        EXPECT_EQ(w.OptionsModel().get().showEngineStatus, !shown);

        // A click on a title shows the sort indicator there.
        QHeaderView *header = page->ResultList()->header();
        header->resize(800, header->sizeHint().height());
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(header->sectionViewportPosition(3) + 5, header->height() / 2));
        EXPECT_TRUE(header->isSortIndicatorShown());
        EXPECT_EQ(header->sortIndicatorSection(), 3);
    }
    AlertHandlerSlot() = nullptr;
    RouteServiceHostsTo(0);
}

}  // namespace
