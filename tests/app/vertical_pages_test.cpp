// The NEWS and PRG pages bound to their searches: a search from the page over the fake web
// fills the list, the count header follows, the newsgroup row opens and closes and reaches
// the request, and the popups carry every item. Screenshots when QUILLMAR_SCREENSHOTS is set.
#include "app/Browser.h"
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/Pages.h"
#include "app/VerticalPages.h"
#include "fakeweb/Server.h"
#include "support/SharedFakeWeb.h"
#include "net/NetConfig.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace qm;

namespace {

fakeweb::Server &Web() { return test::SharedFakeWeb(); }

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

TEST(VerticalPages, ForumAndMp3PagesSearchAndKeepTheirFilterModes) {
    QTemporaryDir tmp;
    RouteServiceHostsTo(Web().port());
    {
        TMain w(ProgramDirs::FromRoot(tmp.path().toStdString()));
        w.Timer()->stop();
        VerticalPage *forum = PageOf(w, PageId::Forum), *mp3 = PageOf(w, PageId::Mp3);
        ASSERT_TRUE(forum && mp3);
        EXPECT_EQ(forum->SearchButton()->text(), "Rechercher");
        EXPECT_FALSE(forum->ModeButton()->isVisibleTo(forum));
        QAbstractItemModel *fm = forum->ResultList()->model(), *mm = mp3->ResultList()->model();
        EXPECT_EQ(fm->headerData(1, Qt::Horizontal).toString(), "Forum");
        EXPECT_EQ(mm->headerData(1, Qt::Horizontal).toString(), "Title");
        QString atStart;
        QTimer::singleShot(0, [&] { atStart = fm->headerData(1, Qt::Horizontal).toString(); });
        forum->QueryBox()->setEditText("jazz");
        forum->SearchButton()->click();
        EXPECT_EQ(atStart, "Titles");
        ASSERT_GT(fm->rowCount(), 30);
        EXPECT_EQ(fm->headerData(1, Qt::Horizontal).toString(), QString::number(fm->rowCount()) + " Forums");
        EXPECT_EQ(forum->SearchButton()->text(), "Search");
        mp3->QueryBox()->setEditText("jazz");
        mp3->SearchButton()->click();
        ASSERT_GT(mm->rowCount(), 5);
        EXPECT_EQ(mm->headerData(1, Qt::Horizontal).toString(), QString::number(mm->rowCount()) + " Titles");
        EXPECT_TRUE(mp3->FilterBar()->isVisibleTo(mp3));
        // "ANY" in one tab's filter menu leaves the other tab's on "ALL".
        mp3->FilterMenu()->actions()[1]->trigger();
        EXPECT_TRUE(mp3->FilterMenu()->actions()[1]->isChecked());
        EXPECT_TRUE(forum->FilterMenu()->actions()[0]->isChecked());
        // The filter finds words of the hidden URL column in the MP3 list only.
        mp3->FilterBox()->setText("download.cgi");
        EXPECT_NE(mp3->CountLabel()->text(), "");
        EXPECT_NE(mp3->CountLabel()->text(), "0 Found");
        forum->FilterBox()->setText("delphicenter");
        EXPECT_TRUE(forum->CountLabel()->text().isEmpty() || forum->CountLabel()->text() == "0 Found");
        Shot(w, PageId::Forum, "forum-1024x768.png");
    }
    RouteServiceHostsTo(0);
}

}  // namespace
