#include "app/OptionsWindow.h"

#include "app/Pages.h"
#include "settings/KeyValue.h"
#include "toolkit/DisplayText.h"
#include "toolkit/Misc.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <climits>
#include <cstdlib>

namespace qm {

namespace {

QColor FromFile(int v) { return QColor(ColorRed(v), ColorGreen(v), ColorBlue(v)); }
int ToFile(QColor c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }
QString Q(const std::string &s) { return DisplayText(s); }
std::string S(const QString &s) { return TypedText(s); }

QLineEdit *NumberBox(QWidget *parent, const char *name) {
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMaximumWidth(90);
    e->setValidator(new QIntValidator(0, INT_MAX, e));  // what the file can hold
    return e;
}

template <typename T>
T *Named(T *w, const char *name) {
    w->setObjectName(name);
    return w;
}

}  // namespace

ProgramDialogFn &ProgramDialogSlot() {
    static ProgramDialogFn fn;
    return fn;
}

ColorDialogFn &ColorDialogSlot() {
    static ColorDialogFn fn;
    return fn;
}

TMainOPT::TMainOPT(OptionsHolder &options, MessageTable &messages, OptionsWindowHost host, QWidget *parent)
    : QDialog(parent), options_(options), messages_(messages), host_(std::move(host)) {
    setObjectName("TMainOPT");
    setWindowTitle("Settings");
    auto *outer = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    outer->addLayout(row, 1);

    pageList_ = Named(new QListWidget(this), "LVBOPT");
    for (const char *e : {"Search settings", "Proxy options", "Cache", "Miscellaneous", "Browsing"}) {
        auto *item = new QListWidgetItem(e, pageList_);
        item->setTextAlignment(Qt::AlignCenter);
        item->setSizeHint(QSize(120, 56));
    }
    pageList_->setFixedWidth(130);
    row->addWidget(pageList_);
    connect(pageList_, &QListWidget::currentRowChanged, this, [this](int r) {
        if (r >= 0) ShowPage(OptionsPage(r));
    });

    auto *right = new QVBoxLayout;
    row->addLayout(right, 1);
    title_ = Named(new QLabel("Search settings", this), "PNL_INFO");
    title_->setStyleSheet("background: black; color: white; font-weight: bold; padding: 4px;");
    right->addWidget(title_);
    pages_ = Named(new QStackedWidget(this), "PC");
    right->addWidget(pages_, 1);

    findTabs_ = Named(new QTabWidget(this), "PC_FIND");
    findTabs_->addTab(BuildSearchTab(web_, true), "WEB Search");
    findTabs_->addTab(BuildSearchTab(news_, false), "Newsgroups search");
    pages_->addWidget(findTabs_);
    pages_->addWidget(BuildProxyPage());
    pages_->addWidget(BuildCachePage());
    pages_->addWidget(BuildMiscPage());
    pages_->addWidget(BuildNavPage());

    auto *bottom = new QHBoxLayout;
    outer->addLayout(bottom);
    langFrame_ = Named(new QGroupBox("Language", this), "RG_LANG");
    auto *ll = new QHBoxLayout(langFrame_);
    langBox_ = Named(new QComboBox(langFrame_), "CB_LANG");
    ll->addWidget(langBox_);
    bottom->addWidget(langFrame_);
    bottom->addStretch(1);
    ok_ = Named(new QPushButton("OK", this), "BT_OK");
    bottom->addWidget(ok_);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(langBox_, &QComboBox::activated, this, [this](int i) {
        const std::string name = S(langBox_->itemText(i));
        Edit([&](Options &o) { o.language = name; });
        if (host_.chooseLanguage) host_.chooseLanguage(name);
    });

    resize(720, 520);
    LoadControls();
    ShowPage(OptionsPage::Search);
}

void TMainOPT::Edit(const std::function<void(Options &)> &change) {
    if (loading_) return;
    Options o = options_.get();
    change(o);
    options_.set(o);
}

QWidget *TMainOPT::BuildSearchTab(SearchControls &c, bool web) {
    auto *page = Named(new QWidget, web ? "TS_WEB" : "TS_NEWS");
    auto *grid = new QGridLayout(page);
    c.engines = Named(new QListWidget(page), web ? "LV_WEB" : "LV_NEWS");
    const auto &names = web ? WebEngineNames() : NewsEngineNames();
    for (const auto &n : names) {
        auto *item = new QListWidgetItem(Q(n), c.engines);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    grid->addWidget(c.engines, 0, 0, 4, 1);
    if (!web) c.engines->hide();  // the one newsgroup engine's tick is kept, not shown
    connect(c.engines, &QListWidget::itemChanged, this, [this, web](QListWidgetItem *item) {
        const std::string name = S(item->text());
        const bool on = item->checkState() == Qt::Checked;
        Edit([&](Options &o) { web ? o.setWebEngineEnabled(name, on) : o.setNewsEngineEnabled(name, on); });
    });

    c.historyGroup = Named(new QGroupBox("History", page), "GB_HIST");
    auto *hl = new QVBoxLayout(c.historyGroup);
    c.history = Named(new QComboBox(c.historyGroup), web ? "CB_WEB_KEY" : "CB_NEWS_KEY");
    c.history->addItems({"Always", "Only current session", "Never"});
    hl->addWidget(c.history);
    grid->addWidget(c.historyGroup, 0, 1);
    connect(c.history, &QComboBox::activated, this, [this, web](int i) {
        Edit([&](Options &o) { (web ? o.web : o.news).cacheMode = i; });
        ApplyHistoryRule();
    });

    c.amountGroup = Named(new QGroupBox("Amount to find", page), "GB_QTY");
    auto *al = new QGridLayout(c.amountGroup);
    c.maxLabel = new QLabel("Maximum results", c.amountGroup);
    c.max = NumberBox(c.amountGroup, web ? "ED_WEB_MAX" : "ED_NEWS_MAX");
    al->addWidget(c.maxLabel, 0, 0);
    al->addWidget(c.max, 0, 1);
    c.modeGroup = Named(new QGroupBox("Amount", c.amountGroup), web ? "RG_WEB_MAX" : "RG_NEWS_MAX");
    auto *ml = new QHBoxLayout(c.modeGroup);
    c.total = new QRadioButton("in total", c.modeGroup);
    c.perEngine = new QRadioButton("per engine    ", c.modeGroup);
    ml->addWidget(c.total);
    ml->addWidget(c.perEngine);
    al->addWidget(c.modeGroup, 1, 0, 1, 2);
    grid->addWidget(c.amountGroup, 1, 1);
    connect(c.max, &QLineEdit::textEdited, this, [this, web](const QString &t) {
        Edit([&](Options &o) { (web ? o.web : o.news).maxResults = kv::ToInt(S(t)); });
    });
    connect(c.total, &QRadioButton::toggled, this, [this, web](bool on) {
        if (on) Edit([&](Options &o) { (web ? o.web : o.news).resultMode = 0; });
    });
    connect(c.perEngine, &QRadioButton::toggled, this, [this, web](bool on) {
        if (on) Edit([&](Options &o) { (web ? o.web : o.news).resultMode = 1; });
    });

    c.diskCache = Named(new QCheckBox("backup results on disk", page), web ? "CHK_WEB_CACHE" : "CHK_NEWS_CACHE");
    grid->addWidget(c.diskCache, 2, 1);
    connect(c.diskCache, &QCheckBox::toggled, this, [this, web](bool on) {
        Edit([&](Options &o) { (web ? o.web : o.news).useDiskCache = on; });
    });
    c.cacheSize = Named(new ClickLabel("Results cache size : 2.55 MB", page),
                        web ? "LBL_WEB_CACHESIZE" : "LBL_NEWS_CACHESIZE");
    c.cacheSize->setStyleSheet("color: blue; text-decoration: underline;");
    c.cacheSize->setCursor(Qt::PointingHandCursor);
    grid->addWidget(c.cacheSize, 3, 1);
    connect(c.cacheSize, &ClickLabel::clicked, this, [this, web] { OpenCacheSizeLink(web ? 0 : 1); });

    if (web) {
        merge_ = Named(new QCheckBox("Merge results that lead to the same site", page), "CHK_WEB_MERGE");
        engineStatus_ = Named(new QCheckBox("Show the engine status panel", page), "CHK_WEB_STATUS");
        grid->addWidget(merge_, 4, 0, 1, 2);
        grid->addWidget(engineStatus_, 5, 0, 1, 2);
        connect(merge_, &QCheckBox::toggled, this, [this](bool on) { Edit([&](Options &o) { o.mergeSameSite = on; }); });
        connect(engineStatus_, &QCheckBox::toggled, this,
                [this](bool on) { Edit([&](Options &o) { o.showEngineStatus = on; }); });
    }
    grid->setRowStretch(6, 1);
    return page;
}

QWidget *TMainOPT::BuildProxyPage() {
    auto *page = Named(new QWidget, "TS_PRX");
    auto *grid = new QGridLayout(page);
    proxyTypeLabel_ = new QLabel("Type", page);
    proxyType_ = Named(new QComboBox(page), "CB_PRX");
    proxyType_->addItems({"None", "HTTP Proxy", "SOCKS proxy"});
    grid->addWidget(proxyTypeLabel_, 0, 0);
    grid->addWidget(proxyType_, 0, 1);
    proxyAddrLabel_ = new QLabel("Address", page);
    proxyAddr_ = Named(new QLineEdit(page), "ED_PRX_ADDR");
    proxyPortLabel_ = new QLabel("Port", page);
    proxyPort_ = Named(new QLineEdit(page), "ED_PRX_PORT");
    proxyPort_->setMaximumWidth(90);
    proxyPort_->setValidator(new QIntValidator(1, 65535, proxyPort_));
    grid->addWidget(proxyAddrLabel_, 1, 0);
    grid->addWidget(proxyAddr_, 1, 1);
    grid->addWidget(proxyPortLabel_, 2, 0);
    grid->addWidget(proxyPort_, 2, 1);
    proxyAuth_ = Named(new QCheckBox("Authentication is required", page), "CHK_PRX_PWD");
    grid->addWidget(proxyAuth_, 3, 0, 1, 2);
    authFrame_ = Named(new QGroupBox(page), "GB_PRX_AUTH");
    auto *al = new QGridLayout(authFrame_);
    proxyUserLabel_ = new QLabel("Username", authFrame_);
    proxyUser_ = Named(new QLineEdit(authFrame_), "ED_PRX_USER");
    proxyPassLabel_ = new QLabel("Password", authFrame_);
    proxyPass_ = Named(new QLineEdit(authFrame_), "ED_PRX_PASS");  // shown as typed
    al->addWidget(proxyUserLabel_, 0, 0);
    al->addWidget(proxyUser_, 0, 1);
    al->addWidget(proxyPassLabel_, 1, 0);
    al->addWidget(proxyPass_, 1, 1);
    grid->addWidget(authFrame_, 4, 0, 1, 2);
    socksGroup_ = Named(new QGroupBox("SOCKS level", page), "RG_SOCKS");
    auto *sl = new QHBoxLayout(socksGroup_);
    const char *levels[3] = {"4", "4a", "5"};
    for (int i = 0; i < 3; ++i) {
        socks_[size_t(i)] = new QRadioButton(levels[i], socksGroup_);
        sl->addWidget(socks_[size_t(i)]);
        connect(socks_[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) Edit([&](Options &o) { o.proxy.socksLevel = i; });
        });
    }
    grid->addWidget(socksGroup_, 5, 0, 1, 2);
    idleLabel_ = new QLabel("Give up a request after this many seconds without data (0: never)", page);
    idle_ = NumberBox(page, "ED_NET_IDLE");
    grid->addWidget(idleLabel_, 6, 0);
    grid->addWidget(idle_, 6, 1);
    grid->setRowStretch(7, 1);

    connect(proxyType_, &QComboBox::activated, this, [this](int i) {
        Edit([&](Options &o) { o.proxy.mode = i; });
        ApplyProxyRules();
    });
    connect(proxyAuth_, &QCheckBox::toggled, this, [this](bool on) {
        Edit([&](Options &o) { o.proxy.usePassword = on; });
        ApplyProxyRules();
    });
    auto text = [this](QLineEdit *e, std::string ProxyOptions::*f) {
        connect(e, &QLineEdit::textEdited, this,
                [this, f](const QString &t) { Edit([&](Options &o) { o.proxy.*f = Trim(S(t)); }); });
    };
    text(proxyAddr_, &ProxyOptions::address);
    text(proxyPort_, &ProxyOptions::port);
    text(proxyUser_, &ProxyOptions::user);
    text(proxyPass_, &ProxyOptions::password);
    connect(idle_, &QLineEdit::textEdited, this,
            [this](const QString &t) { Edit([&](Options &o) { o.idleTimeout = std::max(0, kv::ToInt(S(t))); }); });
    return page;
}

QWidget *TMainOPT::BuildCachePage() {
    auto *page = Named(new QWidget, "TS_CACHE");
    auto *v = new QVBoxLayout(page);
    cacheInfo1_ = new QLabel(page);
    cacheInfo2_ = new QLabel(page);
    cacheInfo1_->setWordWrap(true);
    cacheInfo2_->setWordWrap(true);
    v->addWidget(cacheInfo1_);
    v->addWidget(cacheInfo2_);
    cacheTypeGroup_ = Named(new QGroupBox("Cache type", page), "RGC");
    auto *g = new QGridLayout(cacheTypeGroup_);
    cacheTypes_ = new QButtonGroup(this);
    for (int i = 0; i < kCacheTypeCount; ++i) {
        auto *r = new QRadioButton(CacheType(i).entry, cacheTypeGroup_);
        cacheTypes_->addButton(r, i);
        g->addWidget(r, i / 2, i % 2);
    }
    cacheTypes_->button(0)->setChecked(true);
    connect(cacheTypes_, &QButtonGroup::idClicked, this, [this](int id) { ChooseCacheType(id); });
    v->addWidget(cacheTypeGroup_);

    cacheTabs_ = Named(new QTabWidget(page), "PC_CACHE");
    auto *wc = Named(new QWidget, "TS_WC");
    auto *wl = new QGridLayout(wc);
    words_ = Named(new QTreeWidget(wc), "LV_WC");
    words_->setHeaderLabels({"Search words"});
    words_->setRootIsDecorated(false);
    words_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    words_->setSelectionBehavior(QAbstractItemView::SelectRows);
    wordsAll_ = Named(new QPushButton("Select all", wc), "BT_WC_All");
    wordsDel_ = Named(new QPushButton("Remove", wc), "BT_WC_Del");
    wordsDel_->setEnabled(false);
    wl->addWidget(words_, 0, 0, 3, 1);
    wl->addWidget(wordsAll_, 0, 1);
    wl->addWidget(wordsDel_, 1, 1);
    cacheTabs_->addTab(wc, "Search words");

    auto *cd = Named(new QWidget, "TS_CD");
    auto *cl = new QGridLayout(cd);
    files_ = Named(new QTreeWidget(cd), "LV_CD");
    files_->setHeaderLabels({"Search cache name", "Size"});
    files_->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    files_->setRootIsDecorated(false);
    files_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    files_->setSelectionBehavior(QAbstractItemView::SelectRows);
    files_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    filesAll_ = Named(new QPushButton("Select all", cd), "BT_CD_All");
    filesDel_ = Named(new QPushButton("Remove", cd), "BT_CD_Del");
    filesDel_->setEnabled(false);
    cacheTotal_ = Named(new QLabel("Cache : 00.00 MB", cd), "LBL_CACHE");
    cl->addWidget(files_, 0, 0, 3, 1);
    cl->addWidget(filesAll_, 0, 1);
    cl->addWidget(filesDel_, 1, 1);
    cl->addWidget(cacheTotal_, 3, 0, 1, 2);
    cacheTabs_->addTab(cd, "Disk cache");
    v->addWidget(cacheTabs_, 1);

    for (auto [listBound, removeBound, all] :
         {std::tuple{words_, wordsDel_, wordsAll_}, std::tuple{files_, filesDel_, filesAll_}}) {
        QTreeWidget *list = listBound;  // plain copies: not every compiler captures structured bindings
        QPushButton *remove = removeBound;
        connect(list, &QTreeWidget::itemSelectionChanged, this,
                [list, remove] { remove->setEnabled(!list->selectedItems().isEmpty()); });
        connect(all, &QPushButton::clicked, this, [this, list, remove] { ToggleAll(list, remove); });
        // A click on the column title sorts once; rows added later are not kept sorted.
        list->header()->setSectionsClickable(true);
        connect(list->header(), &QHeaderView::sectionClicked, this, [list](int) { list->sortItems(0, Qt::AscendingOrder); });
        list->installEventFilter(this);
    }
    connect(wordsDel_, &QPushButton::clicked, this, &TMainOPT::RemoveSelectedWords);
    connect(filesDel_, &QPushButton::clicked, this, &TMainOPT::RemoveSelectedFiles);
    return page;
}

QWidget *TMainOPT::BuildMiscPage() {
    auto *page = Named(new QWidget, "TS_MISC");
    auto *v = new QVBoxLayout(page);
    pingGroup_ = Named(new QGroupBox("PING settings", page), "GB_PING");
    auto *pg = new QGridLayout(pingGroup_);
    pingLabel1_ = new QLabel("Amount of Pings to perform", pingGroup_);
    pingAmount_ = NumberBox(pingGroup_, "ED_NbPing");
    pingLabel2_ = new QLabel("Delay between 2 pings", pingGroup_);
    pingDelay_ = NumberBox(pingGroup_, "ED_PING_Delay");
    pg->addWidget(pingLabel1_, 0, 0);
    pg->addWidget(pingAmount_, 0, 1);
    pg->addWidget(pingLabel2_, 1, 0);
    pg->addWidget(pingDelay_, 1, 1);
    pg->addWidget(new QLabel("ms", pingGroup_), 1, 2);
    v->addWidget(pingGroup_);
    connect(pingAmount_, &QLineEdit::textEdited, this,
            [this](const QString &t) { Edit([&](Options &o) { o.pingAmount = kv::ToInt(S(t)); }); });
    connect(pingDelay_, &QLineEdit::textEdited, this,
            [this](const QString &t) { Edit([&](Options &o) { o.pingDelay = kv::ToInt(S(t)); }); });

    mute_ = Named(new QCheckBox("Disable audio alerts", page), "CHK_WAV_Off");
    noHelp_ = Named(new QCheckBox("Arrêter le panneau d'aide automatique", page), "CHK_NOAUTOHELP");
    ah1_ = new QLabel("Autohelp is the rotation system which shows", page);
    ah2_ = new QLabel("periodically tips for the section you are using", page);
    noWho_ = Named(new QCheckBox("No domain registration question", page), "CHK_WHOQOFF");
    dnq1_ = new QLabel("If you don't want to register a domain", page);
    dnq2_ = new QLabel("tick this option", page);
    noLogo_ = Named(new QCheckBox("Disable the statup welcome window", page), "CHK_NOLOGO");
    for (QWidget *w : std::initializer_list<QWidget *>{mute_, noHelp_, ah1_, ah2_, noWho_, dnq1_, dnq2_, noLogo_})
        v->addWidget(w);
    v->addStretch(1);
    auto flag = [this](QCheckBox *c, bool Options::*f) {
        connect(c, &QCheckBox::toggled, this, [this, f](bool on) { Edit([&](Options &o) { o.*f = on; }); });
    };
    flag(mute_, &Options::muteWav);
    flag(noHelp_, &Options::disablePanelHelp);
    flag(noWho_, &Options::disableWhoQuestion);
    flag(noLogo_, &Options::noStartupLogo);
    return page;
}

QWidget *TMainOPT::BuildNavPage() {
    auto *page = Named(new QWidget, "TS_NAV");
    auto *v = new QGridLayout(page);
    browseGroup_ = Named(new QGroupBox("Browse results", page), "GB_BROWSE");
    auto *bl = new QGridLayout(browseGroup_);
    navDefault_ = Named(new QRadioButton("Use your default internet navigator", browseGroup_), "RG_NAV_1");
    navOther_ = Named(new QRadioButton("Specify another navigator (ie: Netscape)", browseGroup_), "RG_NAV_2");
    navPath_ = Named(new QLineEdit(browseGroup_), "ED_NAV");
    navBrowse_ = Named(new QPushButton("...", browseGroup_), "BT_NAV");
    navBrowse_->setMaximumWidth(30);
    bl->addWidget(navDefault_, 0, 0, 1, 2);
    bl->addWidget(navOther_, 1, 0, 1, 2);
    bl->addWidget(navPath_, 2, 0);
    bl->addWidget(navBrowse_, 2, 1);
    v->addWidget(browseGroup_, 0, 0, 1, 2);
    connect(navDefault_, &QRadioButton::toggled, this, [this](bool on) {
        navPath_->setVisible(!on);
        navBrowse_->setVisible(!on);
        Edit([&](Options &o) { o.browseMode = on ? BrowseMode::DefaultNavigator : BrowseMode::ExternalNavigator; });
    });
    connect(navPath_, &QLineEdit::textEdited, this,
            [this](const QString &t) { Edit([&](Options &o) { o.externalNavigator = Trim(S(t)); }); });
    auto browse = [this](QLineEdit *target, std::string Options::*f) {
        return [this, target, f] {
            QString folder = QFileInfo(target->text()).absolutePath();
            ProgramDialogFn &slot = ProgramDialogSlot();
            QString chosen;
            if (slot) {
                chosen = slot(this, folder);
            } else {
                QFileDialog dialog(this, QString(), folder);
                dialog.setFileMode(QFileDialog::ExistingFile);
                dialog.setFilter(QDir::AllDirs | QDir::Files | QDir::Executable | QDir::NoDotAndDotDot);
                if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
                    chosen = dialog.selectedFiles().front();
            }
            if (chosen.isEmpty()) return;  // cancelled
            target->setText(chosen);
            Edit([&](Options &o) { o.*f = S(chosen); });
        };
    };
    connect(navBrowse_, &QPushButton::clicked, this, browse(navPath_, &Options::externalNavigator));

    surfGroup_ = Named(new QGroupBox("Surf mode", page), "RG_SURF");
    auto *sl = new QVBoxLayout(surfGroup_);
    surfNew_ = new QRadioButton("Open sites in a new navigator window", surfGroup_);
    surfSame_ = new QRadioButton("Open sites in the same navigator window", surfGroup_);
    sl->addWidget(surfNew_);
    sl->addWidget(surfSame_);
    v->addWidget(surfGroup_, 1, 0, 1, 2);
    connect(surfSame_, &QRadioButton::toggled, this, [this](bool on) {
        Edit([&](Options &o) { o.surfMode = on ? SurfMode::InSameWindow : SurfMode::InNewWindow; });
    });

    // The download choice is kept in the file; the group is never shown.
    dlGroup_ = Named(new QGroupBox("Download option", page), "GB_DL");
    auto *dg = new QGridLayout(dlGroup_);
    const char *dl[3] = {"Use your the default download agent (Internet Explorer..)",
                         "Send download information into the Clipboard",
                         "Speciify the download agent (Gozilla/getright / ect...)"};
    for (int i = 0; i < 3; ++i) {
        dl_[size_t(i)] = new QRadioButton(dl[i], dlGroup_);
        dg->addWidget(dl_[size_t(i)], i, 0, 1, 2);
        connect(dl_[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on && !loading_) ChooseDownload(i);
        });
    }
    dlPath_ = Named(new QLineEdit(dlGroup_), "ED_DL");
    dlBrowse_ = Named(new QPushButton("...", dlGroup_), "BT_DL");
    dg->addWidget(dlPath_, 3, 0);
    dg->addWidget(dlBrowse_, 3, 1);
    connect(dlPath_, &QLineEdit::textEdited, this,
            [this](const QString &t) { Edit([&](Options &o) { o.downloadAgent = Trim(S(t)); }); });
    connect(dlBrowse_, &QPushButton::clicked, this, browse(dlPath_, &Options::downloadAgent));
    dlGroup_->hide();
    v->addWidget(dlGroup_, 2, 0, 1, 2);

    colGroup_ = Named(new QGroupBox("Desktop colors", page), "GB_COL");
    auto *cl = new QHBoxLayout(colGroup_);
    colorBox_ = Named(new QComboBox(colGroup_), "CB_COL");
    colorBox_->setEditable(true);
    colorBox_->setInsertPolicy(QComboBox::NoInsert);
    cl->addWidget(colorBox_, 1);
    for (int i = 0; i < 3; ++i) {
        swatches_[size_t(i)] = new QPushButton(colGroup_);
        swatches_[size_t(i)]->setObjectName(QString("SHP_COL_%1").arg(i + 1));
        swatches_[size_t(i)]->setFixedSize(28, 22);
        cl->addWidget(swatches_[size_t(i)]);
        connect(swatches_[size_t(i)], &QPushButton::clicked, this, [this, i] { ChangeSwatch(i); });
    }
    colorSave_ = Named(new QPushButton("Save", colGroup_), "BT_COL_Save");
    colorSave_->hide();
    cl->addWidget(colorSave_);
    v->addWidget(colGroup_, 3, 0);
    connect(colorBox_, &QComboBox::activated, this, [this](int i) {
        Edit([&](Options &o) { o.colorIndex = i; });
        ApplyColorModel();
    });
    connect(colorBox_, &QComboBox::editTextChanged, this, [this](const QString &t) {
        if (loading_) return;
        const int i = ColorModelNamed(options_.get(), S(t));
        if (i < 0 || i == colorBox_->currentIndex()) return;
        {
            QSignalBlocker block(colorBox_);
            colorBox_->setCurrentIndex(i);
            colorBox_->setEditText(t);
        }
        Edit([&](Options &o) { o.colorIndex = i; });
        ApplyColorModel();
    });
    connect(colorSave_, &QPushButton::clicked, this, &TMainOPT::SaveColorModelClicked);

    tabGroup_ = Named(new QGroupBox("Startup on", page), "GB_TAB");
    auto *tl = new QHBoxLayout(tabGroup_);
    startTab_ = Named(new QComboBox(tabGroup_), "CB_TAB");
    for (int i = 0; i < 13; ++i) startTab_->addItem(QString());
    tl->addWidget(startTab_);
    v->addWidget(tabGroup_, 3, 1);
    connect(startTab_, &QComboBox::activated, this, [this](int i) { Edit([&](Options &o) { o.startupTab = i; }); });
    v->setRowStretch(4, 1);
    return page;
}

void TMainOPT::LoadControls() {
    loading_ = true;
    const Options &o = options_.get();
    for (auto [c, s, list] : {std::tuple{&web_, &o.web, &o.webEngines}, std::tuple{&news_, &o.news, &o.newsEngines}}) {
        for (int i = 0; i < c->engines->count() && i < int(list->size()); ++i)
            c->engines->item(i)->setCheckState((*list)[size_t(i)].enabled ? Qt::Checked : Qt::Unchecked);
        c->history->setCurrentIndex(s->cacheMode);
        c->max->setText(QString::number(s->maxResults));
        c->total->setChecked(s->resultMode == 0);
        c->perEngine->setChecked(s->resultMode == 1);
        c->diskCache->setChecked(s->useDiskCache);
    }
    merge_->setChecked(o.mergeSameSite);
    engineStatus_->setChecked(o.showEngineStatus);
    proxyType_->setCurrentIndex(o.proxy.mode);
    proxyAddr_->setText(Q(o.proxy.address));
    proxyPort_->setText(Q(o.proxy.port));
    proxyAuth_->setChecked(o.proxy.usePassword);
    proxyUser_->setText(Q(o.proxy.user));
    proxyPass_->setText(Q(o.proxy.password));
    for (int i = 0; i < 3; ++i) socks_[size_t(i)]->setChecked(o.proxy.socksLevel == i);
    idle_->setText(QString::number(o.idleTimeout));
    pingAmount_->setText(QString::number(o.pingAmount));
    pingDelay_->setText(QString::number(o.pingDelay));
    mute_->setChecked(o.muteWav);
    noHelp_->setChecked(o.disablePanelHelp);
    noWho_->setChecked(o.disableWhoQuestion);
    noLogo_->setChecked(o.noStartupLogo);
    const bool external = o.browseMode == BrowseMode::ExternalNavigator;
    (external ? navOther_ : navDefault_)->setChecked(true);
    navPath_->setText(Q(o.externalNavigator));
    navPath_->setVisible(external);
    navBrowse_->setVisible(external);
    (o.surfMode == SurfMode::InSameWindow ? surfSame_ : surfNew_)->setChecked(true);
    dl_[size_t(o.downloadMode == DownloadMode::Clipboard ? 1 : o.downloadMode == DownloadMode::External ? 2 : 0)]
        ->setChecked(true);
    dlPath_->setText(Q(o.downloadAgent));
    dlPath_->setVisible(o.downloadMode == DownloadMode::External);
    dlBrowse_->setVisible(o.downloadMode == DownloadMode::External);
    colorBox_->clear();
    for (const auto &m : o.colorModels) colorBox_->addItem(Q(m.name));
    colorBox_->setCurrentIndex(o.colorIndex >= 0 ? o.colorIndex : (o.colorModels.empty() ? -1 : 0));
    startTab_->setCurrentIndex(o.startupTab >= 0 && o.startupTab < 13 ? o.startupTab : -1);
    langBox_->clear();
    auto names = ListLanguages(host_.languageFolder);
    if (names.empty()) names.push_back("English");
    for (const auto &n : names) langBox_->addItem(Q(n));
    for (int i = 0; i < langBox_->count(); ++i)
        if (SameTextNoCase(S(langBox_->itemText(i)), o.language)) langBox_->setCurrentIndex(i);
    loading_ = false;
    ApplyHistoryRule();
    ApplyProxyRules();
    ApplyColorModel();
}

void TMainOPT::SelectLanguage(const std::string &name) {
    Edit([&](Options &o) { o.language = name; });
    for (int i = 0; i < langBox_->count(); ++i)
        if (SameTextNoCase(S(langBox_->itemText(i)), name)) langBox_->setCurrentIndex(i);
}

void TMainOPT::ApplyTexts(const LanguageTexts &t) {
    loading_ = true;
    auto set = [&](auto *w, const char *key) { w->setText(Q(t.Text(key))); };
    auto title = [&](QGroupBox *g, const char *key) { g->setTitle(Q(t.Text(key))); };
    const char *pages[5] = {"$W_BT_MNU_FIND", "$W_BT_MNU_PROXY", "$W_BT_MNU_CACHE", "$W_BT_MNU_MISC", "$W_BT_MNU_BROWSE"};
    for (int i = 0; i < 5; ++i) pageList_->item(i)->setText(Q(t.Text(pages[i])));
    findTabs_->setTabText(0, Q(t.Text("$W_TS_WEB")));
    findTabs_->setTabText(1, Q(t.Text("$W_TS_NEWS")));
    // The newsgroup tab repeats the web tab's captions.
    for (SearchControls *c : {&web_, &news_}) {
        title(c->historyGroup, "$W_GB_HIST");
        c->history->setItemText(0, Q(t.Text("$W_GB_HST_1")));
        c->history->setItemText(1, Q(t.Text("$W_GB_HST_2")));
        c->history->setItemText(2, Q(t.Text("$W_GB_HST_3")));
        title(c->amountGroup, "$W_GB_QTY_1");
        title(c->modeGroup, "$W_GB_QTY_AMOUNT");
        set(c->total, "$W_GB_QTY_2_1");
        set(c->perEngine, "$W_GB_QTY_2_2");
        set(c->maxLabel, "$W_LBL_WEBMAX");
        set(c->diskCache, "$W_CHK_WEB_CACHE");
    }
    set(proxyTypeLabel_, "$W_LBL_PRX_TYPE");
    set(proxyAddrLabel_, "$W_LBL_PRX_ADDR");
    set(proxyPortLabel_, "$W_LBL_PRX_Port");
    set(proxyAuth_, "$W_CHK_PRX_PWD");
    set(proxyUserLabel_, "$W_LBL_PRX_USER");
    set(proxyPassLabel_, "$W_LBL_PRX_PASS");
    title(socksGroup_, "$W_RG_SOCKS");
    title(cacheTypeGroup_, "$W_RGCACHE");
    const DerivedCaptions d = t.Derived();
    for (int i = 0; i < kCacheTypeCount; ++i) cacheTypes_->button(i)->setText(Q(d.cacheTypes[size_t(i)]));
    cacheTabs_->setTabText(0, Q(t.Text("$W_TS_WC")));
    cacheTabs_->setTabText(1, Q(t.Text("$W_TS_CD")));
    set(cacheInfo1_, "$W_LBL_CACHE_1");
    set(cacheInfo2_, "$W_LBL_CACHE_2");
    words_->setHeaderLabels({Q(t.Text("$W_CACHE_1"))});
    files_->headerItem()->setText(0, Q(t.Text("$W_CACHE_2")));
    files_->headerItem()->setText(1, Q(t.Text("$FTP_COL_2")));
    // The cache page's buttons repeat the favorites tab's.
    set(wordsAll_, "$BTB_ALL");
    set(filesAll_, "$BTB_ALL");
    set(wordsDel_, "$BTB_DEL");
    set(filesDel_, "$BTB_DEL");
    title(pingGroup_, "$W_GB_PING");
    set(pingLabel1_, "$W_LBL_PING_1");
    set(pingLabel2_, "$W_LBL_PING_2");
    set(mute_, "$W_CHK_WAV_Off");
    set(noWho_, "$W_CHK_WHOQOFF");
    set(noHelp_, "$W_CHK_NOAUTOHELP");
    set(noLogo_, "$CHK_NOLOGO");
    set(dnq1_, "$W_LBL_DNQ_1");
    set(dnq2_, "$W_LBL_DNQ_2");
    set(ah1_, "$W_LBL_AH_1");
    set(ah2_, "$W_LBL_AH_2");
    title(browseGroup_, "$W_GB_BROWSE");
    set(navDefault_, "$W_RG_NAV_1");
    set(navOther_, "$W_RG_NAV_2");
    title(dlGroup_, "$W_GB_DL");
    set(dl_[0], "$W_RG_DL_1");
    set(dl_[1], "$W_RG_DL_2");
    set(dl_[2], "$W_RG_DL_3");
    title(surfGroup_, "$W_RG_SURF_C");
    set(surfNew_, "$W_RG_SURF_1");
    set(surfSame_, "$W_RG_SURF_2");
    title(colGroup_, "$W_GB_COL");
    title(tabGroup_, "$W_GB_TAB");
    title(langFrame_, "$W_RG_LANG");
    for (int i = 0; i < 13; ++i) startTab_->setItemText(i, Q(d.startupEntries[size_t(i)]));
    const int start = options_.get().startupTab;
    startTab_->setCurrentIndex(start >= 0 && start < 13 ? start : -1);
    setWindowTitle(Q(d.optionsTitle));
    if (!t.optionBar.name.empty() || t.optionBar.size > 0) {
        QFont f = pageList_->font();
        if (!t.optionBar.name.empty()) f.setFamily(Q(t.optionBar.name));
        if (t.optionBar.size > 0) f.setPointSize(t.optionBar.size);
        pageList_->setFont(f);
    }
    title_->setText(Q(messages_.Text(PageTitleMessage(CurrentPage()))));
    loading_ = false;
    ListCacheTypeNow(cacheType_);
}

void TMainOPT::ShowPage(OptionsPage p) {
    pages_->setCurrentIndex(int(p));
    {
        QSignalBlocker block(pageList_);
        pageList_->setCurrentRow(int(p));
    }
    title_->setText(Q(messages_.Text(PageTitleMessage(p))));
    pageState_.Shown(p);
}

OptionsPage TMainOPT::CurrentPage() const { return OptionsPage(pages_->currentIndex()); }

void TMainOPT::Open(OptionsOpener by, bool modal) {
    const OptionsPage p = pageState_.Open(by);
    LoadControls();
    ShowPage(p);
    if (p == OptionsPage::Search) findTabs_->setCurrentIndex(0);
    if (modal) exec();
    else show();
}

void TMainOPT::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    title_->setText(Q(messages_.Text(PageTitleMessage(CurrentPage()))));
    ApplyHistoryRule();
    // Every type with files, so the totals and both cache-size links are current, then the
    // selected type again.
    for (int type : {0, 1, 4, 2, 5, 6}) ListCacheTypeNow(type);
    ChooseCacheType(cacheTypes_->checkedId() < 0 ? 0 : cacheTypes_->checkedId());
}

void TMainOPT::done(int result) {
    QDialog::done(result);
    if (host_.closed) host_.closed();
}

bool TMainOPT::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyRelease && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        // The Delete key does what "Remove" does, enabled or not.
        if (watched == words_) RemoveSelectedWords();
        else if (watched == files_) RemoveSelectedFiles();
        else return QDialog::eventFilter(watched, event);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TMainOPT::ApplyHistoryRule() {
    web_.diskCache->setVisible(DiskCacheBoxVisible(web_.history->currentIndex()));
    news_.diskCache->setVisible(DiskCacheBoxVisible(news_.history->currentIndex()));
}

void TMainOPT::ApplyProxyRules() {
    const ProxyVisibility v = ProxyRules(proxyType_->currentIndex(), proxyAuth_->isChecked());
    for (QWidget *w : std::initializer_list<QWidget *>{proxyAddrLabel_, proxyAddr_, proxyPortLabel_, proxyPort_})
        w->setVisible(v.server);
    proxyAuth_->setVisible(v.authBox);
    authFrame_->setVisible(v.userPass);
    socksGroup_->setVisible(v.socks);
}

void TMainOPT::ListCacheTypeNow(int type) {
    const CacheTypeInfo &info = CacheType(type);
    HistoryBox empty;
    const HistoryBox &history = host_.history ? host_.history(info.history) : empty;
    const CacheListing l = ListCacheType(host_.folders, history, type, messages_.Text(Msg::CacheInfo));
    if (type == 0 && l.label) web_.cacheSize->setText(Q(*l.label));
    if (type == 1 && l.label) news_.cacheSize->setText(Q(*l.label));
    if (type != cacheType_) return;
    words_->clear();
    for (const auto &w : l.words) new QTreeWidgetItem(words_, {Q(w)});
    files_->clear();
    fileRows_.clear();
    if (l.files) {
        fileRows_ = *l.files;
        for (size_t i = 0; i < fileRows_.size(); ++i) {
            auto *item = new QTreeWidgetItem(files_, {Q(fileRows_[i].caption), Q(fileRows_[i].size)});
            item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
            item->setData(0, Qt::UserRole, int(i));
        }
    }
    if (l.label) cacheTotal_->setText(Q(*l.label));
    wordsDel_->setEnabled(false);
    filesDel_->setEnabled(false);
}

void TMainOPT::ChooseCacheType(int type) {
    if (type < 0 || type >= kCacheTypeCount) return;
    cacheType_ = type;
    if (cacheTypes_->checkedId() != type) cacheTypes_->button(type)->setChecked(true);
    const bool files = CacheType(type).folder != nullptr;
    cacheTabs_->setTabVisible(1, files);
    if (!files) cacheTabs_->setCurrentIndex(0);
    ListCacheTypeNow(type);
}

void TMainOPT::OpenCacheSizeLink(int type) {
    if (cacheTypes_->checkedId() != type) ChooseCacheType(type);
    ShowPage(OptionsPage::Cache);
    cacheTabs_->setCurrentIndex(1);
}

void TMainOPT::ToggleAll(QTreeWidget *list, QPushButton *remove) {
    const int count = list->topLevelItemCount();
    const bool all = ToggleSelectsAll(int(list->selectedItems().size()), count);
    for (int i = 0; i < count; ++i) list->topLevelItem(i)->setSelected(all);
    remove->setEnabled(count > 0);
}

void TMainOPT::RemoveSelectedWords() {
    if (host_.confirm && !host_.confirm()) return;
    const auto selected = words_->selectedItems();
    if (selected.isEmpty() || !host_.history) return;
    std::vector<std::string> words;
    for (auto *item : selected) words.push_back(S(item->text(0)));
    const HistoryId id = CacheType(cacheType_).history;
    RemoveHistoryWords(host_.history(id), words);
    if (host_.historyChanged) host_.historyChanged(id);
    qDeleteAll(selected);
    wordsDel_->setEnabled(!words_->selectedItems().isEmpty());
}

void TMainOPT::RemoveSelectedFiles() {
    if (host_.confirm && !host_.confirm()) return;
    std::vector<CacheFileRow> rows;
    for (auto *item : files_->selectedItems()) {
        const int i = item->data(0, Qt::UserRole).toInt();
        if (i >= 0 && i < int(fileRows_.size())) rows.push_back(fileRows_[size_t(i)]);
    }
    RemoveCacheFiles(host_.folders, cacheType_, rows);
    ListCacheTypeNow(cacheType_);
}

void TMainOPT::PaintColors(QColor begin, QColor end, QColor text) {
    swatchColors_ = {begin, end, text};
    for (int i = 0; i < 3; ++i)
        swatches_[size_t(i)]->setStyleSheet(QString("background: %1; border: 1px solid gray;").arg(swatchColors_[size_t(i)].name()));
    pageList_->setStyleSheet(QString("QListWidget { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, "
                                     "stop:1 %2); color: %3; }")
                                 .arg(begin.name(), end.name(), text.name()));
    if (host_.previewColors) host_.previewColors(begin, end, text);
}

void TMainOPT::ApplyColorModel() {
    const Options &o = options_.get();
    const ColorModel *m = o.currentColorModel();
    if (!m) return;
    PaintColors(FromFile(m->beginColor), FromFile(m->endColor), FromFile(m->textColor));
    const int selected = colorBox_->currentIndex();
    if (selected < 6 && ColorModelNamed(o, S(colorBox_->currentText())) >= 0) colorSave_->hide();
}

void TMainOPT::ChangeSwatch(int i) {
    ColorDialogFn &slot = ColorDialogSlot();
    std::optional<QColor> chosen;
    if (slot) {
        chosen = slot(this, swatchColors_[size_t(i)]);
    } else {
        QColor c = QColorDialog::getColor(swatchColors_[size_t(i)], this);
        if (c.isValid()) chosen = c;
    }
    if (!chosen) return;  // cancelled
    auto colors = swatchColors_;
    colors[size_t(i)] = *chosen;
    PaintColors(colors[0], colors[1], colors[2]);
    colorSave_->show();
    const QString now = colorBox_->currentText();
    const std::string next = SelectorTextAfterSwatch(options_.get(), S(now));
    if (next != S(now)) {
        QSignalBlocker block(colorBox_);
        colorBox_->setEditText(Q(next));
    }
}

void TMainOPT::SaveColorModelClicked() {
    const std::string name = Trim(S(colorBox_->currentText()));
    if (name.empty()) return;
    const int before = int(options_.get().colorModels.size());
    int index = -1;
    Edit([&](Options &o) {
        index = SaveColorModel(o, name, ToFile(swatchColors_[0]), ToFile(swatchColors_[1]), ToFile(swatchColors_[2]));
        o.colorIndex = index;
    });
    QSignalBlocker block(colorBox_);
    if (index >= before) colorBox_->addItem(Q(name));
    colorBox_->setCurrentIndex(index);
    colorSave_->show();
}

void TMainOPT::ChooseDownload(int i) {
    const bool external = i == 2;
    dlPath_->setVisible(external);
    dlBrowse_->setVisible(external);
    if (external) {
        const std::string typed = Trim(S(dlPath_->text()));
        if (typed.empty() || !TMisc::FileExists(typed)) {
            const char *path = std::getenv("PATH");
            const std::string found = ProbeDownloadAgent(path ? path : "");
            if (!found.empty()) dlPath_->setText(Q(found));
        }
    }
    Edit([&](Options &o) {
        o.downloadMode = i == 1 ? DownloadMode::Clipboard : external ? DownloadMode::External : DownloadMode::Default;
        o.downloadAgent = Trim(S(dlPath_->text()));
    });
}

}  // namespace qm
