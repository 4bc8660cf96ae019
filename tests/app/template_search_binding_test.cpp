// The web page's GO!!! button runs the engines described by files over the fake web: the
// rows land in the same list view, the search button reads "Stop" meanwhile and ends it.
#include "app/MainWindow.h"
#include "app/WebPage.h"
#include "fakeweb/Server.h"
#include "net/NetConfig.h"

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace qm;

namespace {

TEST(TemplateSearchBinding, GoButtonSearchesWithTheBundledDefinitions) {
    static fakeweb::Server server;
    if (!server.running()) ASSERT_TRUE(server.start(0));
    QTemporaryDir tmp;
    RouteServiceHostsTo(server.port());
    {
        TMain w(ProgramDirs::FromRoot(tmp.path().toStdString()));
        w.Timer()->stop();
        WebPage *page = w.Web();
        ASSERT_NE(page, nullptr);
        QPushButton *go = page->TemplateButton();
        ASSERT_NE(go, nullptr);
        RunHook(w.Hooks().reloadTemplateEngines);  // as at the window's show
        EXPECT_TRUE(go->isEnabled());
        EXPECT_TRUE(go->toolTip().contains("5 engines"));

        page->QueryBox()->setEditText("big cat");
        QString captionWhileRunning;
        bool flagWhileRunning = false;
        QTimer::singleShot(0, [&] {
            captionWhileRunning = page->SearchButton()->text();
            flagWhileRunning = w.Model().searching() != 0;
        });
        go->click();  // returns when the search has ended
        EXPECT_EQ(captionWhileRunning, "Stop");
        EXPECT_TRUE(flagWhileRunning);
        EXPECT_EQ(page->SearchButton()->text(), "Search");
        EXPECT_FALSE(w.Model().searching());
        QAbstractItemModel *model = page->ResultList()->model();
        ASSERT_EQ(model->rowCount(), 17 * 5 - 4);  // five engines, one shared home page
        QStringList sources;
        for (int r = 0; r < model->rowCount(); ++r) sources << model->index(r, 3).data().toString();
        sources.removeDuplicates();
        sources.sort();
        EXPECT_EQ(sources, QStringList({"Bramblehunt", "Lanternseek", "Mossindex", "Owlfind", "Quarrysearch"}));

        // The page's search button stops a running template search and starts nothing.
        QTimer::singleShot(0, [&] { page->SearchButton()->click(); });
        go->click();
        EXPECT_FALSE(w.Model().searching());
        EXPECT_EQ(page->SearchButton()->text(), "Search");
        EXPECT_LT(model->rowCount(), 17 * 5 - 4);
    }
    RouteServiceHostsTo(0);
}

}  // namespace
