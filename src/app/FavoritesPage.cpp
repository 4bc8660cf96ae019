#include "app/FavoritesPage.h"

#include "app/WidgetEvents.h"

#include "app/MainWindow.h"
#include "app/Pages.h"
#include "toolkit/DisplayText.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTreeView>
#include <QVBoxLayout>

namespace qm {

namespace {


const std::vector<std::vector<int>> kWidths = {
    {1, 330, 170, 0, 0, 0}, {1, 360, 140, 0, 0, 0}, {1, 200, 80, 50, 160, 0, 0, 0, 0}, {0, 330, 0, 120, 90, 0}};

}  // namespace

FavoritesPage::FavoritesPage(TMain &window, Favorites &favorites, QLabel *help, QWidget *parent)
    : QWidget(parent), w_(window), f_(favorites), help_(help) {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *low = new QWidget(this);  // PNL_BOOK_LOW
    low->setObjectName("PNL_BOOK_LOW");
    auto *row = new QHBoxLayout(low);
    book_ = new QComboBox(low);
    book_->setObjectName("CB_BOOK");
    for (const char *t : {"Show my favorite WEB sites", "Show my favorite Newsgroup articles",
                          "Show my favorite software titles", "Show my favorite daily news"})
        book_->addItem(t);
    all_ = new QPushButton("Select all", low);
    all_->setObjectName("BTB_ALL");
    del_ = new QPushButton("Remove", low);
    del_->setObjectName("BTB_DEL");
    view_ = new QPushButton("View", low);
    view_->setObjectName("BTB_VIEW");
    del_->setEnabled(false);
    view_->setEnabled(false);
    row->addWidget(book_, 1);
    row->addWidget(all_);
    row->addWidget(del_);
    row->addWidget(view_);
    layout->addWidget(low);
    pages_ = new QStackedWidget(this);  // PC_BOOK
    layout->addWidget(pages_, 1);

    static const char *names[] = {"LVB_WEB", "LVB_NEWS", "LVB_PRG", "LVB_DNC"};
    static const char *memos[] = {"MMBWEBHINT", "MMBNEWSHINT", "MMBPRGHINT", nullptr};
    for (int k = 0; k < kFavoritesLists; ++k) {
        const auto l = FavoritesList(k);
        ResultListModel &m = f_.List(l);
        auto *view = new QTreeView;
        view->setObjectName(names[k]);
        view->setModel(&m);
        view->setSelectionModel(m.Selection());
        view->setRootIsDecorated(false);
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        view->header()->setSectionsClickable(true);
        for (size_t c = 0; c < kWidths[size_t(k)].size() && int(c) < m.columnCount(); ++c) {
            view->setColumnHidden(int(c), kWidths[size_t(k)][c] == 0);
            view->setColumnWidth(int(c), kWidths[size_t(k)][c]);
        }
        views_[size_t(k)] = view;
        if (memos[k]) {
            auto *split = new QSplitter(Qt::Vertical);
            split->addWidget(view);
            auto *hint = new QPlainTextEdit;
            hint->setObjectName(memos[k]);
            hint->setReadOnly(true);
            hint->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            split->addWidget(hint);
            split->setStretchFactor(0, 3);
            hints_[size_t(k)] = hint;
            pages_->addWidget(split);
        } else {
            pages_->addWidget(view);
        }
        connect(m.Selection(), &QItemSelectionModel::selectionChanged, this, [this, l] { Refresh(l); });
        connect(&m, &ResultListModel::listChanged, this, [this, l] { Refresh(l); });
        connect(view, &QTreeView::doubleClicked, this, [this, l] { Act(l, FavoriteAction::View); });
        connect(view->header(), &QHeaderView::sectionClicked, this, [this, l](int c) {
            f_.SortByColumn(l, c);
            Refresh(l);
        });
        KeyActions::InstallListKeys(
            view,
            [this, l] {
                f_.ToggleAll(l);
                Refresh(l);
            },
            [this, l] { Act(l, FavoriteAction::View); });
    }

    // POPF_WEB, POPF_NEWS, POPF_PRG; "Delete selection" acts on the list shown.
    for (int k = 0; k < 3; ++k) {
        const auto l = FavoritesList(k);
        auto *pop = new QMenu(this);
        if (l == FavoritesList::Software) {
            dl_ = pop->addAction("Download", this, [this] { Act(FavoritesList::Software, FavoriteAction::Download); });
            visit_ = pop->addAction("Vist the author's site", this,
                                    [this] { Act(FavoritesList::Software, FavoriteAction::Visit); });
        } else {
            pop->addAction("Open selected site", this, [this, l] { Act(l, FavoriteAction::Open); });
            pop->addAction("Open selected site in the same navigator");  // no action
        }
        pop->addSeparator();
        pop->addAction("Cut (Send to clipboard)", this, [this, l] { Act(l, FavoriteAction::Cut); });
        pop->addSeparator();
        pop->addAction("Delete selection", this, [this] { del_->click(); });
        popups_[size_t(k)] = pop;
        connect(views_[size_t(k)], &QWidget::customContextMenuRequested, pop,
                [pop, this, k](const QPoint &p) { pop->popup(views_[size_t(k)]->viewport()->mapToGlobal(p)); });
    }

    connect(book_, &QComboBox::currentIndexChanged, this, [this](int k) { ShowEntry(k); });
    connect(all_, &QPushButton::clicked, this, [this] {
        f_.ToggleAll(Shown());
        Refresh(Shown());
    });
    connect(del_, &QPushButton::clicked, this, [this] {
        f_.RemoveSelected(Shown());
        Refresh(Shown());
    });
    connect(view_, &QPushButton::clicked, this, [this] { Act(Shown(), FavoriteAction::View); });
    ShowEntry(0);
}

FavoritesList FavoritesPage::Shown() const {
    const int k = book_->currentIndex();
    return k >= 0 && k < kFavoritesLists ? FavoritesList(k) : FavoritesList::Web;
}

void FavoritesPage::ShowEntry(int k) {
    if (k < 0 || k >= kFavoritesLists) return;
    if (book_->currentIndex() != k) book_->setCurrentIndex(k);  // comes back here
    pages_->setCurrentIndex(k);
    if (help_) help_->setText(DisplayText(f_.Title(FavoritesList(k))));
    Refresh(FavoritesList(k));
}

void FavoritesPage::Refresh(FavoritesList l) {
    ResultListModel &m = f_.List(l);
    if (m.Updating()) return;
    if (QPlainTextEdit *hint = hints_[size_t(l)]) {
        hint->setPlainText(DisplayText(f_.Hint(l)));
        hint->moveCursor(QTextCursor::Start);
    }
    if (l == Shown()) {
        const bool selected = m.FirstSelectedRow() >= 0;
        del_->setEnabled(selected);
        view_->setEnabled(selected);
    }
}

void FavoritesPage::SetDetailItemsEnabled(bool on) {
    if (dl_) dl_->setEnabled(on);
    if (visit_) visit_->setEnabled(on);
    if (on) views_[size_t(FavoritesList::Software)]->unsetCursor();
    else views_[size_t(FavoritesList::Software)]->setCursor(Qt::WaitCursor);
}

void FavoritesPage::Act(FavoritesList l, FavoriteAction a) { f_.Perform(l, a); }

void BindFavorites(TMain &w) {
    FeaturePage *p = w.Page(PageId::Favorites);
    if (!p) return;
    Favorites::Host host;
    host.cacheFolder = [&w] { return w.Model().dirs.CacheDir; };
    host.confirm = [&w] { return w.AskConfirm(); };
    host.alert = [&w](const std::string &t) { w.ShowAlert(t, AlertKind::Error); };
    host.message = [&w](const std::string &e) { return w.Model().messages.TextOf(e); };
    host.open = [&w](const std::string &a) { w.OpenInBrowser(a); };
    host.copy = [](const std::string &a) { QApplication::clipboard()->setText(DisplayText(a)); };
    host.requestDetail = [&w](const std::string &a, DetailAction d) {
        RunHook(w.Hooks().requestSoftwareDetail, a, int(d));
    };
    auto *favorites = new Favorites(std::move(host), &w);
    auto *page = new FavoritesPage(w, *favorites, p->HelpPanel(), p->Body());
    p->BodyLayout()->addWidget(page);
    p->SetFocusTarget(page->Book());

    ShellHooks &h = w.Hooks();
    h.loadHistoriesAndFavorites = [favorites, page, old = h.loadHistoriesAndFavorites] {
        if (old) old();
        favorites->Load();
        for (int k = 0; k < kFavoritesLists; ++k) page->Refresh(FavoritesList(k));
    };
    h.saveFavorites = [favorites, old = h.saveFavorites] {
        if (old) old();
        favorites->Save();
    };
    // Every add shows the favorites page on the list's entry, rows or not.
    h.addFavorites = [&w, favorites, page](int list, const std::vector<ResultRow> &rows) {
        if (list < 0 || list >= kFavoritesLists) return;
        favorites->AddRows(FavoritesList(list), rows);
        w.ShowPage(PageId::Favorites);
        page->ShowEntry(list);
    };
    h.addSmartFavorites = [&w](const std::vector<ResultRow> &rows) { RunHook(w.Hooks().addFavorites, 0, rows); };
    // A daily-news headline: appended unless its URL is listed already (exact match).
    h.addDailyNewsFavorite = [favorites](const std::string &title, const std::string &tag, const std::string &channel,
                                         const std::string &date, const std::string &url) {
        const ResultListModel &daily = favorites->List(FavoritesList::Daily);
        for (const ResultRow &r : daily.Rows())
            if (r.subItems.size() > 4 && r.subItems[4] == url) return false;
        ResultRow row;
        row.image = 0;  // the headline icon
        row.subItems = {title, tag, channel, date, url};
        return favorites->AddRows(FavoritesList::Daily, {row}) > 0;
    };
    h.showDailyNewsFavorites = [&w, page] {
        w.ShowPage(PageId::Favorites);
        page->ShowEntry(int(FavoritesList::Daily));
    };
    h.softwareDetailItems = [page, old = h.softwareDetailItems](bool on) {
        if (old) old(on);
        page->SetDetailItemsEnabled(on);
    };
}

}  // namespace qm
