// The NEWS and PRG pages bound to their searches: a search from the page over the fake web
// fills the list, the count header follows, the newsgroup row opens and closes and reaches
// the request, and the popups carry every item. Screenshots when QUILLMAR_SCREENSHOTS is set.
#include "app/Browser.h"
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/Pages.h"
#include "app/VerticalPages.h"
#include "fakeweb/Server.h"
#include "net/NetConfig.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace qm;

namespace {

fakeweb::Server &Web() {
    static fakeweb::Server server;
    if (!server.running()) EXPECT_TRUE(server.start(0));
    return server;
}

VerticalPage *PageOf(TMain &w, PageId id) { return w.Page(id)->findChild<VerticalPage *>(); }

QStringList Items(QMenu *m) {
    QStringList out;
    for (QAction *a : m->actions())
        if (!a->isSeparator()) out << a->text();
    return out;
}

void Shot(TMain &w, PageId id, const char *name) {
    if (const char *shots = std::getenv("QUILLMAR_SCREENSHOTS")) {
        w.resize(1024, 768);
        w.show();
        w.ShowPage(id);
        QApplication::processEvents();
        w.grab().save(QString("%1/%2").arg(shots, name));
    }
}

TEST(VerticalPages, NewsPageSearchesWithTheNewsgroupRow) {
    QTemporaryDir tmp;
    RouteServiceHostsTo(Web().port());
    std::vector<std::string> alerts;
    AlertHandlerSlot() = [&](QWidget *, const std::string &t, AlertKind) { alerts.push_back(t); };
    {
        TMain w(ProgramDirs::FromRoot(tmp.path().toStdString()));
        w.Timer()->stop();
        VerticalPage *page = PageOf(w, PageId::News);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->GroupButton()->text(), "+");  // collapsed at start
        EXPECT_FALSE(page->LanguageBox()->isVisibleTo(page));
        EXPECT_EQ(page->GroupBox()->count(), 2);
        EXPECT_EQ(page->LanguageBox()->count(), 27);
        QAbstractItemModel *model = page->ResultList()->model();
        EXPECT_EQ(model->columnCount(), 6);
        EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Article");

        page->GroupButton()->click();
        EXPECT_EQ(page->GroupButton()->text(), "-");
        page->GroupBox()->setEditText("comp.*");
        page->LanguageBox()->setCurrentIndex(9);
        page->QueryBox()->setEditText("big cat");
        page->SearchButton()->click();
        ASSERT_GT(model->rowCount(), 10);
        EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QString::number(model->rowCount()) + " Articles");
        EXPECT_EQ(model->index(0, 2).data().toString(), "comp.*");
        EXPECT_TRUE(model->index(0, 4).data().toString().contains("lang_fr"));
        EXPECT_TRUE(page->FilterBar()->isVisibleTo(page));
        EXPECT_EQ(Items(page->Popup()),
                  (QStringList{"Read this article", "Browse the selected newsgroup", "Cut (Send to clipboard)",
                               "View all search results as a WEB page", "View selected site(s) as a WEB page",
                               "Save article(s) to a file", "Add selection to my favorites"}));
        EXPECT_TRUE(alerts.empty());
        Shot(w, PageId::News, "news-1024x768.png");
    }
    AlertHandlerSlot() = nullptr;
    RouteServiceHostsTo(0);
}

TEST(VerticalPages, SoftwarePageSearchesBothEngines) {
    QTemporaryDir tmp;
    RouteServiceHostsTo(Web().port());
    {
        TMain w(ProgramDirs::FromRoot(tmp.path().toStdString()));
        w.Timer()->stop();
        VerticalPage *page = PageOf(w, PageId::Software);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->GroupButton(), nullptr);
        QAbstractItemModel *model = page->ResultList()->model();
        EXPECT_EQ(model->columnCount(), 9);
        page->QueryBox()->setEditText("editor");
        page->SearchButton()->click();
        ASSERT_EQ(model->rowCount(), 34);
        EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "34 softwares");
        bool cnet = false, cows = false;
        for (int r = 0; r < model->rowCount(); ++r) {
            cnet |= model->index(r, 5).data().toString() == "C|NET";
            cows |= model->index(r, 5).data().toString() == "TuCows";
        }
        EXPECT_TRUE(cnet && cows);
        EXPECT_EQ(Items(page->Popup()), (QStringList{"Download", "Vist the author's site", "Cut (Send to clipboard)",
                                                     "Add selection to my favorites"}));
        Shot(w, PageId::Software, "software-1024x768.png");
    }
    RouteServiceHostsTo(0);
}

}  // namespace
