// The Road Planner page in the main window, over the fake web: both planners, Enter in a
// field, Enter while busy, kilometres and miles, flip, save and print into a PDF file, and
// the planner the language chooses.
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/Pages.h"
#include "app/RoadPage.h"
#include "fakeweb/Server.h"
#include "support/SharedFakeWeb.h"
#include "net/NetConfig.h"
#include "toolkit/AtomicFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QFileInfo>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace qm;

namespace {

fakeweb::Server &Web() { return test::SharedFakeWeb(); }

// Runs `start` and waits until the planner's request has ended.
void AwaitPlan(RoadPlanner &planner, const std::function<void()> &start) {
    QEventLoop loop;
    auto c = QObject::connect(&planner, &RoadPlanner::finished, &loop, [&] { loop.quit(); });
    start();
    if (planner.Busy()) loop.exec();
    QObject::disconnect(c);
}

// Enter on a control, delivered straight to it (the window is never activated).
void PressReturn(QWidget *w) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier), release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QApplication::sendEvent(w, &release);
}

QStringList Column(QTreeWidget *list, int column) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) out << list->topLevelItem(i)->text(column);
    return out;
}

TEST(RoadPage, BothPlannersFromThePage) {
    QTemporaryDir tmp;
    RouteServiceHostsTo(Web().port());
    std::vector<std::pair<std::string, AlertKind>> alerts;
    AlertHandlerSlot() = [&](QWidget *, const std::string &t, AlertKind k) { alerts.emplace_back(t, k); };
    {
        TMain w(ProgramDirs::FromRoot(tmp.path().toStdString()));
        w.Timer()->stop();
        w.ShowPage(PageId::Road);
        // The first activation applies the language (it chooses the planner): let it run now.
        BringToFront(&w);
        QCoreApplication::processEvents();
        RoadPage *page = w.Page(PageId::Road)->findChild<RoadPage *>();
        ASSERT_NE(page, nullptr);
        RoadPlanner &planner = page->Planner();
        QTreeWidget *list = page->List();
        EXPECT_EQ(list->columnWidth(0), 400);
        EXPECT_EQ(list->columnWidth(1), 100);
        EXPECT_EQ(list->headerItem()->text(1), "Total distance");
        EXPECT_EQ(w.Page(PageId::Road)->HelpPanel()->text(), "USA Road planner");
        EXPECT_FALSE(page->FastBox()->isHidden());

        // Enter in a field sends the request; Enter again while it runs is ignored.
        page->Field("ED_ROAD_ADDR1")->setText("1 Main St");
        page->Field("ED_ROAD_CITY1")->setText("Boston");
        page->Field("ED_ROAD_STATE1")->setText("MA");
        page->Field("ED_ROAD_ZIP2")->setText("10001");
        AwaitPlan(planner, [&] {
            PressReturn(page->Field("ED_ROAD_ZIP2"));
            EXPECT_TRUE(planner.Busy());
            EXPECT_FALSE(page->RequestButton()->isEnabled());
            EXPECT_EQ(w.Model().Flag(Activity::RoadPlanner), 1);
            PressReturn(page->Field("ED_ROAD_CITY1"));
        });
        EXPECT_TRUE(page->RequestButton()->isEnabled());
        EXPECT_EQ(w.Model().Flag(Activity::RoadPlanner), 0);
        EXPECT_EQ(planner.LastRequest(), "/directions.asp?OAD2=1+Main+St&OAD3=Boston,+MA&DAD2=&DAD3=10001&showmap=1&PCT=easy");
        ASSERT_GE(list->topLevelItemCount(), 5);
        EXPECT_TRUE(list->topLevelItem(0)->text(0).startsWith("1: Take "));
        EXPECT_TRUE(list->topLevelItem(0)->text(1).endsWith(" miles"));
        EXPECT_TRUE(list->topLevelItem(0)->textAlignment(1) & Qt::AlignRight);
        EXPECT_TRUE(alerts.empty());

        // Kilometres and back.
        const QStringList miles = Column(list, 1);
        page->KmBox()->click();
        EXPECT_TRUE(Column(list, 1).first().endsWith(" km"));
        page->KmBox()->click();
        EXPECT_EQ(Column(list, 1), miles);

        // Flip twice restores the fields.
        page->FlipButton()->click();
        EXPECT_EQ(page->Field("ED_ROAD_ZIP1")->text(), "10001");
        EXPECT_EQ(page->Field("ED_ROAD_CITY2")->text(), "Boston");
        page->FlipButton()->click();
        EXPECT_EQ(page->Field("ED_ROAD_CITY1")->text(), "Boston");

        // Save: the proposed name in the remembered folder; the bytes of the planner.
        QString proposed;
        RoadSaveDialogSlot() = [&](QWidget *, const QString &p) {
            proposed = p;
            return tmp.filePath("plan.txt");
        };
        page->SaveButton()->click();
        EXPECT_TRUE(proposed.endsWith("/Boston - .txt")) << proposed.toStdString();
        std::string saved;
        ASSERT_TRUE(ReadWholeFile(tmp.filePath("plan.txt").toStdString(), saved));
        EXPECT_EQ(saved, planner.SavedText());
        ASSERT_FALSE(alerts.empty());
        EXPECT_EQ(alerts.back().first, "File saved successfully!!!");
        page->SaveButton()->click();  // the dialog keeps its name and folder
        EXPECT_EQ(proposed, tmp.filePath("plan.txt"));
        RoadSaveDialogSlot() = [&](QWidget *, const QString &) { return tmp.filePath("no/such/plan.txt"); };
        page->SaveButton()->click();
        EXPECT_EQ(alerts.back().first, FileNotWrittenMessage(tmp.filePath("no/such/plan.txt").toStdString()));
        EXPECT_EQ(alerts.back().second, AlertKind::Error);

        // Print without a printer: into a PDF file.
        RoadPdfDialogSlot() = [&](QWidget *, const QString &) { return tmp.filePath("plan.pdf"); };
        page->PrintButton()->click();
        EXPECT_GT(QFileInfo(tmp.filePath("plan.pdf")).size(), 1000);

        // The European planner: its texts, kilometres ticked, totals after the steps.
        page->FrButton()->click();
        EXPECT_EQ(page->Pages()->currentIndex(), 1);
        EXPECT_EQ(w.Page(PageId::Road)->HelpPanel()->text(), QString::fromUtf8("Itinéraire routier européen"));
        EXPECT_EQ(page->RequestButton()->text(), QString::fromUtf8("Création de l'itinéraire"));
        EXPECT_EQ(list->headerItem()->text(1), "Distance");
        EXPECT_TRUE(page->FastBox()->isHidden());
        EXPECT_TRUE(page->KmBox()->isChecked());
        EXPECT_EQ(page->Country(1)->currentText(), "France");
        page->Field("ED_ROAD_VILLE1")->setText("Paris");
        page->Field("ED_ROAD_VILLE2")->setText("Lyon");
        page->Country(2)->setCurrentIndex(44);
        AwaitPlan(planner, [&] { PressReturn(page->Country(2)); });
        EXPECT_NE(planner.LastRequest().find("Arrivee_Pays=41&"), std::string::npos);
        QStringList steps = Column(list, 0);
        ASSERT_GE(steps.size(), 6);
        EXPECT_EQ(steps[steps.size() - 2], "Distance totale:");
        EXPECT_EQ(steps.last(), QString::fromUtf8("Temps total (à 90km/h):"));

        // An unknown place: the list empties and the user is told in French.
        page->Field("ED_ROAD_VILLE1")->clear();
        AwaitPlan(planner, [&] { page->RequestButton()->click(); });
        EXPECT_EQ(list->topLevelItemCount(), 0);
        EXPECT_EQ(alerts.back().first, "Aucun itinéraire trouvé.");

        // The language loader chooses the planner.
        RunHook(w.Hooks().applyLanguage, std::string("English"));
        EXPECT_TRUE(page->UsButton()->isChecked());
        EXPECT_EQ(page->Pages()->currentIndex(), 0);
        RunHook(w.Hooks().applyLanguage, std::string("French"));
        EXPECT_TRUE(page->FrButton()->isChecked());
    }
    RoadSaveDialogSlot() = nullptr;
    RoadPdfDialogSlot() = nullptr;
    AlertHandlerSlot() = nullptr;
    RouteServiceHostsTo(0);
}

}  // namespace
