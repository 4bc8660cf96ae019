#include "app/MainWindow.h"

#include "app/Browser.h"
#include "app/Dialogs.h"
#include "app/FeatureBindings.h"
#include "app/HelpMenu.h"
#include "app/Pages.h"
#include "app/SideBar.h"
#include "app/WebPage.h"
#include "toolkit/DisplayText.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalBlocker>
#include <QMouseEvent>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

#include <cstdlib>
#include <ctime>

namespace qm {

namespace {
constexpr int kHintHidePause = 9999;  // ms
}  // namespace

TMain::TMain(ProgramDirs dirs, QWidget *parent)
    : QMainWindow(parent), model_(std::move(dirs)), misc_(std::make_unique<TMisc>()) {
    setObjectName("Main");
    options_ = new OptionsHolder(this);
    connect(options_, &OptionsHolder::changed, this, [this] { ApplyOptions(options_->get()); });
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    BuildWidgets();

    // Title as application title, window caption and status text.
    QString title = Shown(model_.title);
    QApplication::setApplicationDisplayName(title);
    setWindowTitle(title);
    statusText_->setText(title);
    setWindowIcon(QIcon(":/icons/quillmar.svg"));

    model_.autoHelp.SetShow([this](HelpPanel p, const std::string &t) { OnHelpText(p, t); });
    model_.onGauge = [this](bool busy) { OnGauge(busy); };
    model_.pump = [] { QApplication::processEvents(); };
    OnGauge(false);

    timer_ = new QTimer(this);
    timer_->setObjectName("Timer1");
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &TMain::HousekeepingTick);
    timer_->start();

    qApp->installEventFilter(this);
    BindFeatures(*this);
}

TMain::~TMain() {
    if (qApp) qApp->removeEventFilter(this);
    Destroy();
}

void TMain::BuildWidgets() {
    auto *central = new QWidget(this);
    auto *row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    // Side bar and the buttons under it.
    auto *side = new QWidget(central);
    side->setObjectName("PNL_SIDEBAR");
    side->setAutoFillBackground(true);
    side->setStyleSheet("QWidget#PNL_SIDEBAR { background: #0f3d6e; }"
                        "QWidget#PNL_SIDEBAR QPushButton, QWidget#PNL_SIDEBAR QToolButton {"
                        " color: white; background: rgba(255,255,255,30); border: 1px solid rgba(255,255,255,70);"
                        " border-radius: 4px; padding: 5px 8px; }"
                        "QWidget#PNL_SIDEBAR QPushButton:hover, QWidget#PNL_SIDEBAR QToolButton:hover {"
                        " background: rgba(255,255,255,60); }"
                        "QWidget#PNL_SIDEBAR QToolButton::menu-indicator { image: none; }");
    auto *sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 8);
    sideLayout->setSpacing(6);
    sideBar_ = new SideBar(side);
    sideLayout->addWidget(sideBar_, 1);
    auto *buttons = new QVBoxLayout;
    buttons->setContentsMargins(8, 0, 8, 0);
    buttons->setSpacing(6);
    favoritesButton_ = new QPushButton("Favorites", side);
    favoritesButton_->setObjectName("BT_FAVORITES");
    buttons->addWidget(favoritesButton_);
    auto *pair = new QHBoxLayout;
    pair->setSpacing(6);
    settingsButton_ = new QPushButton("Settings", side);
    settingsButton_->setObjectName("BT_MNU_OPT");
    settingsButton_->installEventFilter(this);
    helpButton_ = new QToolButton(side);
    helpButton_->setObjectName("BT_MNU_HELP");
    helpButton_->setText("?");
    helpButton_->setToolTip("Help");
    helpButton_->setFixedWidth(34);
    pair->addWidget(settingsButton_, 1);
    pair->addWidget(helpButton_);
    buttons->addLayout(pair);
    sideLayout->addLayout(buttons);
    // The side-bar panel is exactly as wide as the side bar.
    int sideWidth = std::max(sideBar_->PreferredWidth(), 150);
    side->setFixedWidth(sideWidth);
    row->addWidget(side);

    helpMenu_ = new QMenu(this);
    helpMenu_->setObjectName("POP_HLP");
    auto item = [this](const char *caption, const char *name, auto action) {
        QAction *a = helpMenu_->addAction(caption);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, action);
    };
    // The language list's choice picks the French pages.
    auto help = [this](HelpPage page) {
        OpenInBrowser(HelpPageAddress(page, model_.options.language, HomeSiteAddress()));
    };
    item("About", "POP_HLP_ABOUT", [this] {
        if (QFileInfo(QString::fromStdString(model_.dirs.FrontPagePicture)).isFile() && model_.hooks.showSplash)
            model_.hooks.showSplash(15);
        else
            ShowAlert(model_.title + "- the easy way to search what you want", AlertKind::Information);
    });
    item("Homepage", "POP_HLP_HOME", [help] { help(HelpPage::Home); });
    helpMenu_->addSeparator();
    item("Help topics", "POP_HLP_TOPIC", [help] { help(HelpPage::Tips); });
    item("Tips", "POP_HLP_TIPS", [help] { help(HelpPage::Tips); });
    helpMenu_->addSeparator();
    // The desktop's mail program, not the browser of the options.
    item("Tell a friend", "POP_HLP_TELL", [this] {
        const std::string address = TellAFriendAddress(HomeSiteAddress());
        if (!OpenWithDesktop(address)) ShowAlert("No mail program could be started for\n" + address, AlertKind::Error);
    });
    helpMenu_->addSeparator();
    item("PRO Version", "POP_HLP_PRO", [help] { help(HelpPage::Pro); });
    connect(helpButton_, &QToolButton::clicked, this, [this] { PopupAtCursor(helpMenu_); });
    connect(settingsButton_, &QPushButton::clicked, this, [this] { RunHook(model_.hooks.showOptionsWindow, 0); });
    connect(favoritesButton_, &QPushButton::clicked, this, [this] { ShowPage(PageId::Favorites); });
    connect(sideBar_, &SideBar::entryChosen, this, [this](int pos) { ShowStartPage(pos); });

    // Pages (their tabs are never shown: the side bar chooses them) and the banner bar.
    auto *right = new QWidget(central);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    pages_ = new QStackedWidget(right);
    pages_->setObjectName("PC_MAIN");
    for (int i = 0; i < kPageCount; ++i) {
        auto id = static_cast<PageId>(i);
        FeaturePage *page;
        if (id == PageId::Web) page = web_ = new WebPage(model_.messages, pages_);
        else if (id == PageId::Debug) page = debug_ = new DebugPage(pages_);
        else page = new FeaturePage(id, pages_);
        if (HelpPanelOf(id) == HelpPanel::Count && id != PageId::Debug)
            page->HelpPanel()->setText(PageName(id));
        pageWidgets_[static_cast<size_t>(i)] = page;
        pages_->addWidget(page);
    }
    rightLayout->addWidget(pages_, 1);
    connect(web_, &WebPage::searchRequested, this, [this] { RunHook(model_.hooks.pressWebSearch); });
    connect(web_, &WebPage::enterInQueryBox, this, &TMain::SearchAfresh);

    // The banner bar: the picture (468 x 60) with its label under it, both centred.
    banner_ = new QWidget(right);
    banner_->setObjectName("PNL_FRIC");
    banner_->setFixedHeight(76);
    banner_->setAttribute(Qt::WA_StyledBackground, true);
    banner_->setStyleSheet("QWidget#PNL_FRIC { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                           " stop:0 #f4f7fb, stop:1 #dde6f1); border-top: 1px solid #b7c4d6; }");
    auto *bannerLayout = new QVBoxLayout(banner_);
    bannerLayout->setContentsMargins(0, 0, 0, 0);
    bannerLayout->setSpacing(0);
    bannerImage_ = new QLabel(banner_);
    bannerImage_->setObjectName("FRIC");
    bannerImage_->setFixedSize(468, 60);
    bannerImage_->setCursor(Qt::PointingHandCursor);
    bannerImage_->setToolTip("Welcome to Quillmar - This is the advertising bar");
    bannerImage_->setPixmap(QPixmap(":/icons/banner.gif"));
    slogan_ = new QLabel(banner_);
    slogan_->setObjectName("LBL_PUB");
    slogan_->setAlignment(Qt::AlignCenter);
    slogan_->setTextFormat(Qt::PlainText);
    slogan_->setFixedHeight(16);
    // As wide as the bar, so any text stays centred and none widens the window.
    slogan_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    QFont sf = slogan_->font();
    sf.setBold(true);
    slogan_->setFont(sf);
    slogan_->setStyleSheet("color: #1d4f91;");
    slogan_->setText(Shown(model_.messages.Text(Msg::Slogan)));
    bannerLayout->addWidget(bannerImage_, 0, Qt::AlignHCenter);
    bannerLayout->addWidget(slogan_);
    rightLayout->addWidget(banner_);
    row->addWidget(right, 1);
    setCentralWidget(central);

    // Status bar: panel 0 the status text, panel 1 the activity gauge.
    statusText_ = new QLabel(this);
    statusText_->setObjectName("SB_PANEL0");
    statusText_->setFixedWidth(130);
    gauge_ = new QProgressBar(this);
    gauge_->setObjectName("SB_GAUGE");
    gauge_->setFixedWidth(320);
    gauge_->setMaximumHeight(16);
    gauge_->setTextVisible(false);
    searchStatus_ = new QLabel(this);
    searchStatus_->setObjectName("SB_SEARCH");
    searchStatus_->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(statusText_);
    statusBar()->addWidget(gauge_);
    statusBar()->addWidget(searchStatus_, 1);
    statusBar()->setSizeGripEnabled(true);

    resize(1000, 700);
    // Narrower, the web page's search bar would no longer hold its controls.
    setMinimumSize(side->width() + web_->SearchBar()->minimumSizeHint().width() + 40, 540);
}

FeaturePage *TMain::Page(PageId page) const {
    int i = static_cast<int>(page);
    return i >= 0 && i < kPageCount ? pageWidgets_[static_cast<size_t>(i)] : nullptr;
}

PageId TMain::CurrentPage() const {
    auto *p = qobject_cast<FeaturePage *>(pages_->currentWidget());
    return p ? p->Id() : PageId::None;
}

void TMain::ShowPage(PageId page) {
    FeaturePage *p = Page(page);
    if (!p) return;
    pages_->setCurrentWidget(p);
    sideBar_->Highlight(SideBarPositionOf(page));
    if (QWidget *focus = p->FocusTarget(); focus && focus->isEnabled() && focus->focusPolicy() != Qt::NoFocus)
        focus->setFocus(Qt::OtherFocusReason);
    if (HelpPanel h = HelpPanelOf(page); h != HelpPanel::Count) model_.autoHelp.Restart(h);
}

void TMain::ShowStartPage(int position) {
    PageId page = PageAtSideBar(position);
    if (page == PageId::None) return;  // separators and unknown positions change nothing
    ShowPage(page);
}

void BoxToHistory(const QComboBox &box, HistoryBox &history) {
    history.editText = TypedText(box.currentText());
    history.entries.clear();
    for (int i = 0; i < box.count(); ++i) history.entries.push_back(TypedText(box.itemText(i)));
}

void HistoryToBox(const HistoryBox &history, QComboBox &box) {
    {
        // Filling the list must not pass its first entry through the box as if it had been
        // typed (that recalls another query's cache), and no entry is current: the arrow
        // keys then start at the most recent query.
        const QSignalBlocker quiet(&box);
        box.clear();
        for (const auto &e : history.entries) box.addItem(DisplayText(e));
        box.setCurrentIndex(-1);
    }
    box.setEditText(DisplayText(history.editText));
}

void TMain::WebBoxToHistory() { BoxToHistory(*web_->QueryBox(), histories_.web); }

void TMain::HistoryToWebBox() { HistoryToBox(histories_.web, *web_->QueryBox()); }

void TMain::ApplyOptions(const Options &opt) {
    ShellOptions &s = model_.options;
    s.startupTab = opt.startupTab;
    s.disablePanelHelp = opt.disablePanelHelp;
    s.noStartupLogo = opt.noStartupLogo;
    s.defaultNavigator = opt.browseMode == BrowseMode::DefaultNavigator;
    s.surfSameWindow = opt.surfMode == SurfMode::InSameWindow;
    s.externalNavigator = opt.externalNavigator;
    s.language = opt.language;
    if (const ColorModel *c = opt.currentColorModel()) {
        auto color = [](int v) { return QColor(ColorRed(v), ColorGreen(v), ColorBlue(v)); };
        sideBar_->SetColors(color(c->beginColor), color(c->endColor), color(c->textColor));
    }
}

void TMain::ShowAlert(const std::string &text, AlertKind kind) { qm::ShowAlert(this, text, kind); }

bool TMain::AskConfirm() { return qm::AskConfirm(this, model_.messages.Text(Msg::Confirm)); }

void TMain::OpenInBrowser(const std::string &address) {
    BrowserPlan plan = PlanBrowser(model_.options, address, model_.dirs.ProgramDir);
    if (plan.kind == BrowserPlan::NavigatorMissing) {
        ShowAlert(model_.messages.Text(Msg::NavigatorMissing), AlertKind::Error);
        RunHook(model_.hooks.showOptionsWindow, 4);  // its navigation page
        return;
    }
    // A browser that does not start says so, rather than leaving the click unanswered.
    if (plan.kind != BrowserPlan::Nothing && !RunBrowserPlan(plan))
        ShowAlert("No browser could be started to open\n" + address, AlertKind::Error);
}

void TMain::OnHelpText(HelpPanel panel, const std::string &text) {
    for (FeaturePage *p : pageWidgets_)
        if (HelpPanelOf(p->Id()) == panel) {
            QString t = Shown(text);
            if (p->HelpPanel()->text() != t) p->HelpPanel()->setText(t);
        }
}

void TMain::SetGaugeProgress(int done, int total) {
    progressDone_ = done;
    progressTotal_ = total;
    OnGauge(model_.AnyActivity() || total > 0);
}

void TMain::OnGauge(bool busy) {
    gauge_->setEnabled(busy);
    if (busy && progressTotal_ > 0) {
        gauge_->setRange(0, progressTotal_);
        gauge_->setValue(progressDone_);
    } else if (busy) {
        gauge_->setRange(0, 0);  // indeterminate: moves by itself
    } else {
        gauge_->setRange(0, 1);
        gauge_->setValue(0);
    }
}

void TMain::HousekeepingTick() {
    if (inTick_) return;  // a pump inside the tick let the timer fire again
    inTick_ = true;
    model_.Tick();
    inTick_ = false;
}

void TMain::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        OnFirstShow();
    }
}

void TMain::OnFirstShow() {
    // 1-2: pages without tabs; sub-pages of road planner, favorites and units are chosen by
    // their features when they are wired in.
    // 3: the start page.
    PageId start = model_.StartPage();
    ShowPage(start);
    // 4: folders.
    for (const auto &dir : model_.dirs.FoldersToCreate())
        if (!dir.empty()) QDir().mkpath(QString::fromStdString(dir));
    // 5: query histories and favorites.
    RunHook(model_.hooks.loadHistoriesAndFavorites);
    // 7: filters, catalogue, smart finder, web auto-help.
    // (Each result page lays out its own in-list filter bar, hidden while its list is empty.)
    RunHook(model_.hooks.fillCatalogueCategories);
    RunHook(model_.hooks.showSmartCategories);
    model_.autoHelp.Restart(HelpPanel::Web);
    // 8: a query given on the command line.
    if (!commandLine_.empty()) ApplyCommandLine();
    // 9: newsgroup button, daily-news tree, template engines.
    // (The newsgroup page starts with its group row collapsed: "-" clicked once when built.)
    RunHook(model_.hooks.buildNewsTree);
    RunHook(model_.hooks.reloadTemplateEngines);
    // 10: language; highlight the start entry.
    RunHook(model_.hooks.applyLanguage, model_.options.language);
    if (CurrentPage() == start) sideBar_->Highlight(SideBarPositionOf(start));
}

void TMain::ApplyCommandLine() {
    std::string query = CommandLineQuery(commandLine_);
    web_->QueryBox()->setEditText(Shown(query));
    ShowPage(PageId::Web);
    BringToFront(this);
    SearchAfresh();
}

void TMain::SearchAfresh() {
    if (model_.searching()) RunHook(model_.hooks.pressWebSearch);  // stops the running search
    RunHook(model_.hooks.pressWebSearch);                          // starts the new one
}

void TMain::changeEvent(QEvent *event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !activated_) {
        activated_ = true;
        // After the activation has been delivered: the splash is a modal window.
        QTimer::singleShot(0, this, [this] { OnFirstActivate(); });
    }
}

void TMain::OnFirstActivate() {
    if (model_.closing) return;
    RunHook(model_.hooks.applyLanguage, model_.options.language);
    RunHook(model_.hooks.applyLanguageBlocks, model_.options.language);
    if (!model_.options.noStartupLogo && QFileInfo(QString::fromStdString(model_.dirs.FrontPagePicture)).isFile())
        RunHook(model_.hooks.showSplash, 10);
}

bool TMain::OnKeyUp(int key) {
    switch (key) {
    case Qt::Key_F5: ShowPage(PageId::Web); return true;
    case Qt::Key_F6: ShowPage(PageId::News); return true;
    case Qt::Key_F7: ShowPage(PageId::DailyNews); return true;
    case Qt::Key_F8: ShowPage(PageId::Catalogue); return true;
    case Qt::Key_F9: ShowPage(PageId::Software); return true;
    case Qt::Key_F10: ShowPage(PageId::NetKit); return true;
    case Qt::Key_F11: ShowPage(PageId::Domain); return true;
    case Qt::Key_F12: RunHook(model_.hooks.showOptionsWindow, 0); return true;
    default: return false;
    }
}

bool TMain::eventFilter(QObject *watched, QEvent *event) {
    // The window sees key releases before its controls.
    if (const QKeyEvent *k = keys_.Take(watched, event, this)) OnKeyUp(k->key());
    switch (event->type()) {
    case QEvent::ToolTip: {
        // Hints stay up to 9999 ms, however long their text.
        auto *w = qobject_cast<QWidget *>(watched);
        if (w && w->window() == this && !w->toolTip().isEmpty() && w->toolTipDuration() < 0) {
            QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), w->toolTip(), w, {},
                               kHintHidePause);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        // Releasing the right mouse button over "Settings" shows the hidden DBG page.
        if (watched == settingsButton_ && static_cast<QMouseEvent *>(event)->button() == Qt::RightButton)
            ShowPage(PageId::Debug);
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMain::closeEvent(QCloseEvent *event) {
    if (!model_.closing) {
        model_.closing = 1;
        // End of the run: histories, running searches, favorites, caches, banner.
        RunHook(model_.hooks.saveHistories);
        if (model_.Flag(Activity::WebSearch)) RunHook(model_.hooks.endWebSearch);
        if (model_.Flag(Activity::NewsSearch)) RunHook(model_.hooks.endNewsSearch);
        if (model_.Flag(Activity::CatalogueUpdate)) RunHook(model_.hooks.endCatalogueUpdate);
        if (model_.Flag(Activity::DailyNewsUpdate)) RunHook(model_.hooks.endDailyNewsUpdate);
        RunHook(model_.hooks.saveFavorites);
        RunHook(model_.hooks.purgeHistoriesAndCaches);
        RunHook(model_.hooks.abortBanner);
        timer_->stop();
    }
    QMainWindow::closeEvent(event);
}

void TMain::Destroy() {
    if (destroyed_) return;
    destroyed_ = true;
    if (timer_) timer_->stop();
    RunHook(model_.hooks.saveOptions);
    RunHook(model_.hooks.releaseFeatures);
}

}  // namespace qm
