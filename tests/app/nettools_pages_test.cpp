// The "DNS" and "WHO" tabs in the window: boxes, buttons, memos and histories bound to the
// network tools, over the fake web. QUILLMAR_SHOT_DIR=folder also saves both tabs as PNG.
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/Pages.h"
#include "fakeweb/Server.h"
#include "net/NetConfig.h"
#include "tools/NetTools.h"
#include "tools/Whois.h"

#include <QComboBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace qm;

namespace {

template <class T>
T *Child(TMain &w, const char *name) {
    T *c = w.findChild<T *>(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
}

void Shot(TMain &w, const char *file) {
    if (const char *dir = std::getenv("QUILLMAR_SHOT_DIR")) w.grab().save(QString(dir) + "/" + file);
}

TEST(NetToolsPages, DnsAndWhoTabs) {
    QTemporaryDir tmp;
    fakeweb::Server web;
    ASSERT_TRUE(web.start(0));
    RouteServiceHostsTo(web.port(), "127.0.0.1", /*everyHost=*/true);
    std::vector<std::string> alerts;
    AlertHandlerSlot() = [&](QWidget *, const std::string &t, AlertKind) { alerts.push_back(t); };
    ConfirmHandlerSlot() = [](QWidget *, const std::string &) { return false; };
    {
        TMain w(ProgramDirs::FromRoot(tmp.path().toStdString()));
        w.Timer()->stop();
        w.resize(1000, 640);
        w.show();

        // "DNS": Enter in the host box resolves the bare name and writes plain lines.
        w.ShowPage(PageId::NetKit);
        auto *host = Child<QComboBox>(w, "CB_DNS");
        auto *memo = Child<QPlainTextEdit>(w, "MEM_DNS");
        auto *kit = Child<NetToolsController>(w, "NetToolsController");
        EXPECT_EQ(w.Page(PageId::NetKit)->FocusTarget(), host);
        host->setEditText("http://localhost");
        QEventLoop loop;
        QObject::connect(kit, &NetToolsController::lookupFinished, &loop, &QEventLoop::quit);
        QTest::keyClick(host->lineEdit(), Qt::Key_Return);
        EXPECT_FALSE(Child<QPushButton>(w, "BT_DNS")->isEnabled());
        loop.exec();
        EXPECT_TRUE(Child<QPushButton>(w, "BT_DNS")->isEnabled());
        EXPECT_EQ(host->currentText(), "localhost");
        EXPECT_EQ(host->itemText(0), "localhost");
        EXPECT_TRUE(memo->toPlainText().startsWith("DNS:>\tlocalhost\t")) << memo->toPlainText().toStdString();
        Child<QPushButton>(w, "BT_LOCALIP")->click();
        EXPECT_TRUE(memo->toPlainText().contains("Local IP:>\t"));
        host->setEditText("   ");
        Child<QPushButton>(w, "BT_PING")->click();
        ASSERT_EQ(alerts.size(), 1u);
        EXPECT_EQ(alerts[0], "You must type an address to resolve first");
        host->setEditText("localhost");
        Shot(w, "dns_tab.png");

        // "WHO": a lookup shows the record as text, recall from the box shows it again.
        w.ShowPage(PageId::Domain);
        auto *domain = Child<QComboBox>(w, "CB_WHOIS");
        auto *whoMemo = Child<QPlainTextEdit>(w, "MEM_WHOIS");
        auto *lookup = Child<WhoisLookup>(w, "WhoisLookup");
        domain->setEditText("http://hostile.com/");
        QObject::connect(lookup, &WhoisLookup::finished, &loop, &QEventLoop::quit);
        Child<QPushButton>(w, "BT_WHOIS")->click();
        EXPECT_FALSE(Child<QPushButton>(w, "BT_WHOIS")->isEnabled());
        loop.exec();
        EXPECT_TRUE(Child<QPushButton>(w, "BT_WHOIS")->isEnabled());
        EXPECT_EQ(domain->currentText(), "hostile.com");
        const QString shown = whoMemo->toPlainText();
        EXPECT_TRUE(shown.contains("Registrar: <img src=x onerror=alert(1)>")) << shown.toStdString();
        EXPECT_TRUE(shown.contains(" :  QuillmarFakeWeb/1.0 (Unix)"));
        Shot(w, "who_tab.png");

        domain->setEditText("other.com");
        whoMemo->clear();
        domain->setEditText("hostile.com");  // typed again: the cache comes back
        EXPECT_EQ(whoMemo->toPlainText(), shown);
        w.close();
    }
    // The histories were written at close: the host box keeps its text.
    HistoryBox dns, whois;
    DataFolders folders{tmp.path().toStdString()};
    ASSERT_TRUE(TMisc::LoadHistory(folders.HistoryFile(HistoryId::Dns), dns));
    ASSERT_TRUE(TMisc::LoadHistory(folders.HistoryFile(HistoryId::Whois), whois));
    EXPECT_EQ(dns.editText, "localhost");
    EXPECT_EQ(dns.entries.front(), "localhost");
    EXPECT_EQ(whois.entries.front(), "hostile.com");
    AlertHandlerSlot() = nullptr;
    ConfirmHandlerSlot() = nullptr;
    RouteServiceHostsTo(0);
}

}  // namespace
