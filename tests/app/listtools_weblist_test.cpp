// The web page's list tools on real widgets: filter bar, export, popup, cache recall.
#include "app/MessageTable.h"
#include "app/WebListTools.h"
#include "app/WebPage.h"
#include "engines/web/UrlChecker.h"
#include "search/Export.h"
#include "search/ResultCache.h"
#include "search/ResultListModel.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using namespace qm;

namespace {

std::string ReadFile(const std::string &path) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    return f.readAll().toStdString();
}

struct Page {
    MessageTable messages;
    WebPage page{messages};
    std::unique_ptr<ResultListModel> list{ResultListModel::CreateWebList()};
    QTemporaryDir dir;
    std::vector<std::string> opened, alerts;
    std::string saveAs;
    bool searching = false;
    int cacheMode = 0;
    std::unique_ptr<WebListTools> tools;

    Page() {
        page.ResultList()->setModel(list.get());
        page.ResultList()->setSelectionModel(list->Selection());
        QDir(dir.path()).mkpath("Cache/WEBSearch");
        WebListToolsHost host;
        host.dataRoot = [this] { return dir.path().toStdString(); };
        host.alert = [this](const std::string &m) { alerts.push_back(m); };
        host.inform = [this](const std::string &m) { alerts.push_back("info: " + m); };
        host.openInBrowser = [this](const std::string &a) { opened.push_back(a); };
        host.searching = [this] { return searching; };
        host.endSearch = [this] { searching = false; };
        host.cacheMode = [this] { return cacheMode; };
        host.askSaveFile = [this](const std::string &) { return saveAs; };
        tools = std::make_unique<WebListTools>(page, *list, host);
        for (const char *t : {"red car", "blue car", "red bus", "green car red"}) {
            ResultRow r;
            r.subItems = {t, std::string("http://") + t[0] + t[1] + ".example/", "Altavista", "about", ""};
            list->AppendRow(std::move(r));
        }
    }
    std::vector<std::string> Order() const {
        std::vector<std::string> out;
        for (const auto &r : list->Rows()) out.push_back(r.caption);
        return out;
    }
};

}  // namespace

TEST(ListtoolsWebList, FilterBarSelectsCountsAndMoves) {
    Page p;
    QLineEdit *box = p.page.FilterBox();
    QTest::keyClicks(box, "car red");
    EXPECT_EQ(p.page.FilterCount()->text(), "2 Found");
    EXPECT_EQ(p.list->SelectedRows(), std::vector<int>({0, 3}));
    // Enter moves the matches to the top, the later one first, numbers kept.
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(p.Order(), std::vector<std::string>({"4", "1", "2", "3"}));
    EXPECT_EQ(p.list->SelectedRows(), std::vector<int>({0, 1}));
    // Escape empties the box and the label, and deselects.
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_TRUE(box->text().isEmpty());
    EXPECT_TRUE(p.page.FilterCount()->text().isEmpty());
    EXPECT_TRUE(p.list->SelectedRows().empty());
    // Choosing a mode empties the box; EXACT keeps the blanks as typed.
    QTest::keyClicks(box, "car");
    p.page.FilterModeAction(2)->setChecked(true);
    p.page.FilterModeAction(2)->trigger();
    EXPECT_TRUE(box->text().isEmpty());
    QTest::keyClicks(box, "d car");
    EXPECT_EQ(p.page.FilterCount()->text(), "1 Found");
    EXPECT_EQ(p.list->Row(p.list->SelectedRows()[0]).caption, "1");
    // The count label moves the selection too.
    emit p.page.FilterCount()->clicked();
    EXPECT_EQ(p.Order()[0], "1");
}

TEST(ListtoolsWebList, ViewSaveAndOpen) {
    Page p;
    ASSERT_TRUE(p.tools->ViewAsWebPage(false));
    const std::string view = p.dir.path().toStdString() + "/Cache/WebView.htm";
    ASSERT_EQ(p.opened.size(), 1u);
    EXPECT_EQ(p.opened[0], "file://" + view);
    EXPECT_NE(ReadFile(view).find("green car red"), std::string::npos);
    // The engine link is Altavista's home page from the web engine table.
    EXPECT_EQ(ReadFile(view).find("<$ENGINE_URL>"), std::string::npos);
    EXPECT_NE(ReadFile(view).find("href=\"http://www.altavista.example"), std::string::npos);
    // View selected with nothing selected: header and end only.
    ASSERT_TRUE(p.tools->ViewAsWebPage(true));
    EXPECT_EQ(ReadFile(view).find("red car"), std::string::npos);

    // Save: ".txt" gets ".htm"; with one row selected only that row is written.
    p.list->SelectRow(1);
    p.saveAs = p.dir.path().toStdString() + "/saved.txt";
    p.tools->SaveToFile();
    std::string saved = ReadFile(p.saveAs + ".htm");
    EXPECT_NE(saved.find("blue car"), std::string::npos);
    EXPECT_EQ(saved.find("red bus"), std::string::npos);
    EXPECT_TRUE(p.alerts.empty());
    p.saveAs = p.dir.path().toStdString() + "/no/such/folder/x.HTML";
    p.tools->SaveToFile();
    EXPECT_EQ(p.alerts, std::vector<std::string>({"Disk error - Can't view the list as a web page"}));

    // Opening: a script or local address from a remote page is never handed on.
    p.opened.clear();
    p.list->SetSubItem(1, kUrl, "javascript:alert(1)");
    p.tools->OpenSelected();
    EXPECT_TRUE(p.opened.empty());
    p.list->SetSubItem(1, kUrl, "");
    p.tools->OpenSelected();
    EXPECT_EQ(p.opened, std::vector<std::string>({"http://bl.example/"}));
    p.list->SetSubItem(1, kLocation, "file:///etc/passwd");
    p.tools->OpenSelected();
    EXPECT_EQ(p.opened.size(), 1u);

    QStringList items;
    for (QAction *a : p.tools->Popup()->actions()) items << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(items, QStringList({"Open selected site", "-", "View all search results as a WEB page",
                                  "View selected site(s) as a WEB page", "-", "Cut (Send to clipboard)",
                                  "Verify if selected site(s) still open", "-", "Save site(s) to a file", "-",
                                  "Add selection to my favorites"}));
}

TEST(ListtoolsWebList, QueryBoxRecallsCacheAndVerificationMarksTheButton) {
    Page p;
    WebResultCache cache(p.dir.path().toStdString() + "/Cache");
    ResultRow old;
    old.subItems = {"cached", "http://cached.example/", "Lycos", "", ""};
    ASSERT_TRUE(cache.Write({old}, "big cat", true));
    p.searching = true;
    p.page.QueryBox()->setEditText("big cat");
    EXPECT_FALSE(p.searching);  // the running search was ended first
    ASSERT_EQ(p.list->Count(), 1);
    EXPECT_EQ(p.list->Row(0).subItems[0], "cached");

    // Verification: the button reads "Stop", column 0 widens; a second start is refused.
    bool verifying = false;
    p.list->SetSubItem(0, kLocation, "http://127.0.0.1:1/");  // loopback only
    p.list->SelectRow(0);
    const int width = p.page.ResultList()->columnWidth(0);
    QObject::connect(&p.tools->Verification(), &UrlVerification::runningChanged, [&](bool r) { verifying = r; });
    p.tools->Verify();
    EXPECT_TRUE(verifying);
    EXPECT_EQ(p.page.SearchButton()->text(), "Stop");
    EXPECT_EQ(p.page.ResultList()->columnWidth(0), width + 36);
    p.tools->Verify();
    EXPECT_EQ(p.alerts, std::vector<std::string>({"info: Verification process already running"}));
    // While it runs the cache is not loaded and rows do not move.
    ASSERT_TRUE(cache.Write({old, old}, "two", true));
    p.page.QueryBox()->setEditText("two");
    EXPECT_EQ(p.list->Count(), 1);
    // Closing the window ends it.
    p.page.show();
    p.page.close();
    EXPECT_FALSE(verifying);
    EXPECT_EQ(p.page.SearchButton()->text(), "Search");
    EXPECT_EQ(p.page.ResultList()->columnWidth(0), width);

    // Icons a check left stay, and column 0 keeps their room after the next check so the
    // numbers beside them stay readable; checks one after another do not widen it further.
    p.list->SetImage(0, 2);
    for (int round = 0; round < 2; ++round) {
        p.list->SelectRow(0);
        p.tools->Verify();
        EXPECT_TRUE(verifying);
        EXPECT_EQ(p.page.ResultList()->columnWidth(0), width + 36);
        p.tools->Verification().Stop();
        EXPECT_FALSE(verifying);
        EXPECT_EQ(p.page.ResultList()->columnWidth(0), width + 20) << round;
    }
}

TEST(ListtoolsWebList, HeaderPicturesAreBundled) {
    // The page header shows these from the data root's GFX folder, at the template's sizes.
    QImage logo(QStringLiteral(QUILLMAR_SOURCE_DIR "/resources/GFX/") + kResultLogoFile);
    QImage partner(QStringLiteral(QUILLMAR_SOURCE_DIR "/resources/GFX/") + kPartnerBannerFile);
    ASSERT_FALSE(logo.isNull());
    ASSERT_FALSE(partner.isNull());
    EXPECT_EQ(logo.size(), QSize(257, 84));
    EXPECT_EQ(partner.size(), QSize(120, 46));
}
