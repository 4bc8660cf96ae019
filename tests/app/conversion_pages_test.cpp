// The units and currency pages in the real main window, offscreen: the category list and
// grid with Enter, the calculators' settings, the currency controls, a conversion over the
// fake web, and the currency settings restored from and written to the options file.
#include "app/ConversionPage.h"
#include "app/CurrencyPage.h"
#include "app/Dialogs.h"
#include "app/FeatureBindings.h"
#include "app/MainWindow.h"
#include "app/Pages.h"
#include "fakeweb/Server.h"
#include "net/NetConfig.h"
#include "settings/DataRoot.h"
#include "tools/CurrencyConverter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

using namespace qm;

namespace {

class ConversionPagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp_.isValid());
        AlertHandlerSlot() = [this](QWidget *, const std::string &t, AlertKind) { alerts.push_back(t); };
    }
    void TearDown() override {
        window.reset();
        AlertHandlerSlot() = nullptr;
    }
    TMain &Open(const char *options = nullptr) {
        if (options) {
            QDir().mkpath(tmp_.filePath("Options"));
            QFile f(tmp_.filePath("Options/Configuration.ini"));
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(options);
        }
        window = std::make_unique<TMain>(ProgramDirs::FromRoot(tmp_.path().toStdString()));
        window->Timer()->stop();
        CreateOptionsWindow(*window);
        window->resize(1000, 700);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return *window;
    }
    template <typename T>
    T *Find(const char *name) {
        T *w = window->findChild<T *>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // Types into the value cell of a row and presses Enter in the grid.
    void Type(QTableWidget *grid, int row, const char *text) {
        grid->setCurrentCell(row, 1);
        grid->item(row, 1)->setText(text);
        QTest::keyClick(grid, Qt::Key_Return);
    }
    // Saves a picture of a page when QUILLMAR_SHOT_DIR names a folder.
    void Shot(PageId page, const char *file) {
        const QByteArray dir = qgetenv("QUILLMAR_SHOT_DIR");
        if (dir.isEmpty()) return;
        window->ShowPage(page);
        QApplication::processEvents();
        window->grab().save(QString::fromUtf8(dir) + "/" + file);
    }

    QTemporaryDir tmp_;
    std::unique_ptr<TMain> window;
    std::vector<std::string> alerts;
};

}  // namespace

TEST_F(ConversionPagesTest, UnitGridConvertsOnEnterAndCalculatorsFollowTheirSettings) {
    Open();
    auto *list = Find<QListWidget>("LBCV");
    auto *grid = Find<QTableWidget>("SGCV");
    auto *settings = Find<QStackedWidget>("PC_CONV");
    ASSERT_TRUE(list && grid && settings);
    ASSERT_EQ(list->count(), 15);
    EXPECT_EQ(list->currentRow(), 0);  // "Area" at start
    EXPECT_EQ(list->item(2)->text(), "Energie");
    ASSERT_EQ(grid->rowCount(), 11);
    EXPECT_EQ(grid->item(0, 0)->text(), "Square meters");
    EXPECT_EQ(grid->item(0, 1)->text(), "1");
    EXPECT_EQ(grid->item(1, 1)->text(), "");
    EXPECT_FALSE(grid->item(0, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(grid->item(0, 1)->flags() & Qt::ItemIsEditable);
    EXPECT_GE(grid->columnWidth(0), 180);
    EXPECT_EQ(grid->columnWidth(1), 180);
    EXPECT_TRUE(settings->isHidden());

    Type(grid, 0, "1");
    EXPECT_EQ(grid->item(1, 1)->text(), "10000");
    EXPECT_EQ(grid->item(5, 1)->text(), "10,7639");
    Type(grid, 5, "2,5");  // read up to the comma; the row itself keeps its text
    EXPECT_EQ(grid->item(5, 1)->text(), "2,5");
    EXPECT_EQ(grid->item(0, 1)->text(), "0,185806");

    list->setCurrentRow(kAudioCategory);
    EXPECT_FALSE(settings->isHidden());
    EXPECT_EQ(settings->currentWidget()->objectName(), "TS_CONV_WAV");
    ASSERT_EQ(grid->rowCount(), 16);
    Type(grid, 0, "60");
    EXPECT_EQ(grid->item(5, 1)->text(), "10,0937");
    Find<QLineEdit>("ED_CVWAV")->setText("22050");  // rows rebuilt, values kept
    EXPECT_EQ(grid->item(5, 1)->text(), "10,0937");
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(grid->item(5, 1)->text(), "5,0468");
    Find<QWidget>("RG_CVWAV_CHAN_0")->setProperty("checked", true);  // mono
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(grid->item(5, 1)->text(), "2,5234");
    Shot(PageId::Units, "units_audio.png");

    list->setCurrentRow(kVideoCategory);
    EXPECT_EQ(settings->currentWidget()->objectName(), "TS_CONV_VID");
    auto *abps = Find<QLineEdit>("ED_CVID_ABPS");
    EXPECT_FALSE(abps->isVisibleTo(settings));
    QTest::keyClick(grid, Qt::Key_Return);  // the current cell is still "Seconds of record"
    EXPECT_EQ(grid->item(6, 1)->text(), "87500");
    Find<QCheckBox>("CHK_CVID_ABPS")->setChecked(true);
    EXPECT_TRUE(abps->isVisibleTo(settings));
    EXPECT_EQ(grid->item(6, 1)->text(), "87500");
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(grid->item(6, 1)->text(), "95500");
    Shot(PageId::Units, "units_video.png");

    list->setCurrentRow(4);
    EXPECT_TRUE(settings->isHidden());
    EXPECT_EQ(grid->rowCount(), 15);
    Shot(PageId::Units, "units_length.png");
}

TEST_F(ConversionPagesTest, CurrencyPageConvertsOnTheFakeWebAndKeepsItsOptions) {
    fakeweb::Server web;
    ASSERT_TRUE(web.start());
    RouteServiceHostsTo(web.port());
    Open("$CurrencyFrom\t\t=\t20\r\n$CurrencyTo\t\t=\t74\r\n$CurrencyAmount\t=\t3\r\n$CurrencyValue\t=\t7,7\r\n");
    auto *from = Find<QComboBox>("CB_DOL_1");
    auto *to = Find<QComboBox>("CB_DOL_2");
    auto *amount = Find<QLineEdit>("ED_DOL");
    auto *result = Find<QLabel>("PNL_DOL_TXT");
    auto *button = Find<QPushButton>("BT_DOL");
    ASSERT_TRUE(from && to && amount && result && button);
    EXPECT_EQ(from->count(), 167);
    EXPECT_EQ(from->currentText(), "British Pound");
    EXPECT_EQ(to->currentText(), "Japanese Yen");
    EXPECT_EQ(amount->text(), "3");
    EXPECT_EQ(result->text(), "7,7");
    EXPECT_EQ(window->Page(PageId::Currency)->HelpPanel()->text(), "Convertion tools");
    window->ShowPage(PageId::Currency);
    QApplication::processEvents();
    QWidget *panel = Find<QWidget>("PNL_DOL");
    QWidget *body = panel->parentWidget();
    EXPECT_LE(std::abs(panel->x() * 2 + panel->width() - body->width()), 1);  // centred
    EXPECT_LE(std::abs(panel->y() * 2 + panel->height() - body->height()), 1);

    from->setCurrentIndex(154);
    to->setCurrentIndex(48);
    amount->setText("10");
    auto *conv = window->findChild<CurrencyConverter *>();
    ASSERT_NE(conv, nullptr);
    QSignalSpy done(conv, &CurrencyConverter::finished);
    QTest::keyClick(amount, Qt::Key_Return);
    EXPECT_FALSE(button->isEnabled());
    EXPECT_EQ(window->Model().Flag(Activity::CurrencyUpdate), 1);
    QTest::keyClick(amount, Qt::Key_Return);  // ignored while the conversion runs
    ASSERT_TRUE(done.wait(20000));
    EXPECT_EQ(done.count(), 1);
    ASSERT_TRUE(button->isEnabled());
    EXPECT_EQ(window->Model().Flag(Activity::CurrencyUpdate), 0);
    const QString shown = result->text();
    EXPECT_TRUE(shown == "9.2" || shown == "9,2") << shown.toStdString();
    Find<QToolButton>("BT_DOL_FLIP")->click();
    EXPECT_EQ(result->text(), "10.869565");
    EXPECT_EQ(from->currentIndex(), 48);
    EXPECT_TRUE(alerts.empty());

    // The options hold the page's state and the options file gets it at the end of the run.
    const Options &o = window->OptionsModel().get();
    EXPECT_EQ(o.currencyFrom, 48);
    EXPECT_EQ(o.currencyTo, 154);
    EXPECT_EQ(o.currencyAmount, "10");
    EXPECT_EQ(o.currencyValue, "10.869565");
    Shot(PageId::Currency, "currency.png");
    window->close();
    window->Destroy();
    Options saved;
    ASSERT_TRUE(LoadOptions(saved, DataRoot(tmp_.path().toStdString())));
    EXPECT_EQ(saved.currencyFrom, 48);
    EXPECT_EQ(saved.currencyValue, "10.869565");
    RouteServiceHostsTo(0);
    web.stop();
}

TEST_F(ConversionPagesTest, LanguageFileRenamesTheCategoriesAndTheCurrencyCaptions) {
    TMain &m = Open();
    QDir().mkpath(tmp_.filePath("Language"));
    QFile f(tmp_.filePath("Language/Test.language"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("$LANG_CONV_ENERGY\t= Energy\r\n  $lang_conv_cpu3 =  Video size \r\n$GB_CVID_PAK = Bitrates\r\n"
            "$PNL_CONV_MONEY = Currencies\r\n$LBL_DOL_INFO = Quotes by\r\n$LANG_DOL_START = Convert\r\n");
    f.close();
    RunHook(m.Hooks().applyLanguage, std::string("Test"));
    auto *list = Find<QListWidget>("LBCV");
    EXPECT_EQ(list->item(2)->text(), "Energy");
    EXPECT_EQ(list->item(14)->text(), "Video size");
    EXPECT_EQ(list->item(4)->text(), "Length");
    EXPECT_EQ(Find<QGroupBox>("GB_CVID_PAK")->title(), "Bitrates");
    EXPECT_EQ(Find<QLabel>("LBL_DOL_INFO")->text(), "Quotes by");
    EXPECT_EQ(Find<QPushButton>("BT_DOL")->text(), "Convert");
    EXPECT_EQ(m.Page(PageId::Currency)->HelpPanel()->text(), "Currencies");
}
