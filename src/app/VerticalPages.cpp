#include "app/VerticalPages.h"

#include "app/WidgetEvents.h"

#include "app/MainWindow.h"
#include "app/Pages.h"
#include "engines/vertical/ForumMp3Search.h"
#include "engines/vertical/VerticalFeatures.h"
#include "engines/web/HttpClientAdapter.h"
#include "search/InListFilterModel.h"
#include "search/SearchModeModel.h"
#include "settings/DataRoot.h"
#include "settings/Opt.h"
#include "toolkit/DisplayText.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace qm {

// ---------------------------------------------------------------- the page

VerticalPage::VerticalPage(bool newsRow, QWidget *parent) : QWidget(parent) {
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    auto *top = new QHBoxLayout;
    mode_ = new QToolButton(this);
    mode_->setText("...");
    mode_->setToolTip("Search mode");
    modeMenu_ = new QMenu(this);
    modeGroup_ = new QActionGroup(this);
    for (int i = 0; i < kSearchModeCount; ++i) {
        QAction *a = modeMenu_->addAction(SearchModeCaption(static_cast<SearchMode>(i)));
        a->setCheckable(true);
        a->setChecked(i == 0);
        modeGroup_->addAction(a);
    }
    connect(mode_, &QToolButton::clicked, this, [this] { modeMenu_->popup(QCursor::pos()); });
    top->addWidget(mode_);
    if (newsRow) {
        groupButton_ = new QToolButton(this);
        groupButton_->setText("-");
        groupButton_->setToolTip("Restrict the search to a newsgroup and a language");
        top->addWidget(groupButton_);
    }
    query_ = new QComboBox(this);
    query_->setEditable(true);
    query_->setInsertPolicy(QComboBox::NoInsert);
    query_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    top->addWidget(query_);
    search_ = new QPushButton("Search", this);
    top->addWidget(search_);
    v->addLayout(top);

    if (newsRow) {
        groupRow_ = new QWidget(this);
        auto *g = new QHBoxLayout(groupRow_);
        g->setContentsMargins(0, 0, 0, 0);
        g->addWidget(new QLabel("Groupe d'articles", groupRow_));
        group_ = new QComboBox(groupRow_);
        group_->setEditable(true);
        group_->setInsertPolicy(QComboBox::NoInsert);
        group_->addItems({"alt.*", "comp.*"});
        group_->setCurrentText("");
        group_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        g->addWidget(group_);
        lang_ = new QComboBox(groupRow_);
        for (int i = 0; i < kNewsLanguageCount; ++i) lang_->addItem(NewsLanguageName(i));
        g->addWidget(lang_);
        v->addWidget(groupRow_);
        connect(groupButton_, &QToolButton::clicked, this, [this] { ToggleGroupRow(); });
        ToggleGroupRow();  // set to "-" and clicked once: the row starts collapsed
    }

    list_ = new QTreeView(this);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    popup_ = new QMenu(this);
    connect(list_, &QTreeView::customContextMenuRequested, this,
            [this](const QPoint &p) { popup_->popup(list_->viewport()->mapToGlobal(p)); });
    v->addWidget(list_, 1);

    filterBar_ = new QWidget(this);
    auto *f = new QHBoxLayout(filterBar_);
    f->setContentsMargins(0, 0, 0, 0);
    hint_ = new QPlainTextEdit(filterBar_);
    hint_->setReadOnly(true);
    hint_->setMaximumHeight(48);
    f->addWidget(hint_, 1);
    filterMode_ = new ClickLabel("Search in list :", filterBar_);
    filterMenu_ = new QMenu(this);
    auto *fg = new QActionGroup(this);
    for (const char *caption : kFilterModeCaptions) {
        QAction *a = filterMenu_->addAction(caption);
        a->setCheckable(true);
        fg->addAction(a);
    }
    filterMenu_->actions().first()->setChecked(true);
    connect(filterMode_, &ClickLabel::clicked, this, [this] { filterMenu_->popup(QCursor::pos()); });
    f->addWidget(filterMode_);
    filter_ = new QLineEdit(filterBar_);
    filter_->setMaximumWidth(200);
    f->addWidget(filter_);
    count_ = new ClickLabel("0 Found", filterBar_);
    count_->setToolTip("Click here to put find match(es) at the top of the list");
    f->addWidget(count_);
    filterBar_->setVisible(false);
    v->addWidget(filterBar_);
}

bool VerticalPage::GroupRowOpen() const { return groupButton_ && groupButton_->text() == "-"; }

void VerticalPage::ToggleGroupRow() {
    if (!groupButton_) return;
    const bool open = groupButton_->text() == "+";
    groupRow_->setVisible(open);
    groupButton_->setText(open ? "-" : "+");
}

// ---------------------------------------------------------------- binding

namespace {


std::string Typed(const QComboBox *box) { return box->currentText().toUtf8().toStdString(); }

void SyncBox(QComboBox *box, const HistoryBox &h) {
    const QString text = box->currentText();
    box->blockSignals(true);
    box->clear();
    for (const auto &e : h.entries) box->addItem(DisplayText(e));
    box->setCurrentText(text);
    box->blockSignals(false);
}

class VerticalBinding : public QObject {
public:
    VerticalBinding(TMain &w, VerticalPage &page, ResultListModel &list, VerticalSearchController &c,
                    Activity activity, size_t descriptionColumn, size_t openColumn)
        : QObject(&w), w_(w), page_(page), list_(list), c_(c), activity_(activity), desc_(descriptionColumn),
          open_(openColumn) {
        QTreeView *view = page.ResultList();
        view->setModel(&list);
        view->setSelectionModel(list.Selection());
        view->setSortingEnabled(false);
        view->header()->setSectionsClickable(true);
        connect(view->header(), &QHeaderView::sectionClicked, this,
                [this](int column) { list_.SortByColumn(column, ResultListModel::SortMode::Text); });
        connect(&c, &VerticalSearchController::searchingChanged, this, [this](bool on) {
            w_.Model().Flag(activity_) = on ? 1 : 0;
            page_.SearchButton()->setText(on ? "Stop" : "Search");
        });
        connect(&c, &VerticalSearchController::searchStarted, this, [this] {
            page_.FilterBar()->setVisible(false);
            page_.HintMemo()->clear();
        });
        auto refresh = [this] { Refresh(); };
        connect(&list, &ResultListModel::listChanged, this, refresh);
        connect(list.Selection(), &QItemSelectionModel::selectionChanged, this, refresh);
        connect(view, &QTreeView::doubleClicked, this, [this] { OpenSelected(); });
        KeyActions::InstallListKeys(
            view,
            [this] {
                list_.ToggleSelectAll();
                Refresh();
            },
            [this] { OpenSelected(); });
        // The filter bar.
        connect(page.FilterBox(), &QLineEdit::textChanged, this, [this] { RunFilter(); });
        KeyActions::InstallFilterKeys(page.FilterBox(), [this] { page_.FilterBox()->clear(); }, [this] { MoveToTop(); });
        connect(page.CountLabel(), &ClickLabel::clicked, this, [this] { MoveToTop(); });
        for (QAction *a : page.FilterMenu()->actions())
            connect(a, &QAction::triggered, this, [this] { page_.FilterBox()->clear(); RunFilter(); });
        KeyActions::Install(page.QueryBox(), [this](int key) {
            if (!IsEnterKey(key)) return false;
            c_.EnterPressed(Typed(page_.QueryBox()));
            return true;
        });
        connect(page.SearchButton(), &QPushButton::clicked, this, [this] { c_.Press(Typed(page_.QueryBox())); });
    }

    void Refresh() {
        if (list_.Updating()) return;
        page_.FilterBar()->setVisible(list_.Count() > 0);
        page_.HintMemo()->setPlainText(DisplayText(list_.HintText(desc_)));
        page_.HintMemo()->moveCursor(QTextCursor::Start);
    }

    void RunFilter() {
        FilterMode mode = FilterMode::All;
        const auto actions = page_.FilterMenu()->actions();
        for (int i = 0; i < actions.size(); ++i)
            if (actions[i]->isChecked()) mode = static_cast<FilterMode>(i);
        const size_t n = ApplyInListFilter(list_, page_.FilterBox()->text().toUtf8().toStdString(), mode);
        page_.CountLabel()->setText(DisplayText(FilterCountText(n)));
    }

    void MoveToTop() {
        if (MoveSelectedToTop(list_, false) == MoveToTopResult::Moved) page_.ResultList()->scrollToTop();
    }

    std::string Selected(size_t column) const {
        const int row = list_.FirstSelectedRow();
        if (row < 0 || column >= list_.Row(row).subItems.size()) return {};
        return list_.Row(row).subItems[column];
    }

    void OpenSelected() { Open(Selected(open_)); }

    void Open(const std::string &address) {
        if (!address.empty() && IsSafeToOpen(address)) w_.OpenInBrowser(address);
    }

    TMain &w_;
    VerticalPage &page_;
    ResultListModel &list_;
    VerticalSearchController &c_;
    Activity activity_;
    size_t desc_, open_;
};

VerticalHost HostOf(TMain &w) {
    VerticalHost h;
    h.makeClient = MakeHttpClientFactory([&w] { return ProxyFrom(w.OptionsModel().get()); },
                                         [&w] { return LimitsFrom(w.OptionsModel().get()); });
    h.dataRoot = [&w] { return w.Model().dirs.ProgramDir; };
    h.alert = [&w](const std::string &t) { w.ShowAlert(t, AlertKind::Error); };
    h.playSound = [&w](const std::string &s) { w.Misc().PlaySoundFile(s, w.Model().dirs.ProgramDir); };
    h.mute = [&w] { return w.OptionsModel().get().muteWav; };
    return h;
}

// The list's column widths (caption first); a width of 0 hides the column.
void SetColumnWidths(QTreeView *view, std::initializer_list<int> widths) {
    int c = 0;
    for (int width : widths) {
        view->setColumnHidden(c, width == 0);
        if (width > 0) view->setColumnWidth(c, width);
        ++c;
    }
}

// "Add selection to my favorites": the selected rows, whole, to favorites list `list`.
void AddFavoritesItem(TMain &w, QMenu *m, ResultListModel &list, int favorites) {
    QObject::connect(m->addAction("Add selection to my favorites"), &QAction::triggered, m, [&w, &list, favorites] {
        std::vector<ResultRow> rows;
        for (int r : list.SelectedRows()) rows.push_back(list.Row(r));
        RunHook(w.Hooks().addFavorites, favorites, rows);
    });
}

VerticalPage *PutPage(TMain &w, PageId id, bool newsRow) {
    FeaturePage *p = w.Page(id);
    if (!p) return nullptr;
    auto *page = new VerticalPage(newsRow, p->Body());
    p->BodyLayout()->addWidget(page);
    p->SetFocusTarget(page->QueryBox());
    return page;
}

void BindNews(TMain &w) {
    VerticalPage *page = PutPage(w, PageId::News, true);
    if (!page) return;
    VerticalHost host = HostOf(w);
    host.pushHistory = [&w, page](const std::string &) {
        Histories &h = w.QueryHistories();
        h.news.editText = Typed(page->QueryBox());
        h.newsGroup.editText = Typed(page->GroupBox());
        TMisc::PushHistory(h.news);
        TMisc::PushHistory(h.newsGroup);
        SyncBox(page->QueryBox(), h.news);
        SyncBox(page->GroupBox(), h.newsGroup);
    };
    auto *news = new NewsSearch(std::move(host), [&w] { return NewsOptionsFrom(w.OptionsModel().get()); }, &w);
    auto *b = new VerticalBinding(w, *page, news->List(), news->Controller(), Activity::NewsSearch,
                                  kNewsDescription, kNewsAddress);
    SetColumnWidths(page->ResultList(), {36, 360, 140, 0, 0, 0});
    // The restriction the next search reads follows the row's controls.
    auto restrict = [news, page] {
        news->Restriction().open = page->GroupRowOpen();
        news->Restriction().group = Typed(page->GroupBox());
        news->Restriction().language = page->LanguageBox()->currentIndex();
    };
    QObject::connect(page->SearchButton(), &QPushButton::pressed, b, restrict);
    QObject::connect(page->GroupBox(), &QComboBox::currentTextChanged, b, restrict);
    QObject::connect(page->LanguageBox(), &QComboBox::currentIndexChanged, b, restrict);
    QObject::connect(page->GroupButton(), &QToolButton::clicked, b, restrict);
    QObject::connect(page->QueryBox(), &QComboBox::textActivated, b,
                     [news, page] { news->Recall(Typed(page->QueryBox())); });

    QMenu *m = page->Popup();
    QObject::connect(m->addAction("Read this article"), &QAction::triggered, b, [b] { b->OpenSelected(); });
    QObject::connect(m->addAction("Browse the selected newsgroup"), &QAction::triggered, b,
                     [b, news] { b->Open(news->BrowseAddress(news->List().FirstSelectedRow())); });
    m->addSeparator();
    QObject::connect(m->addAction("Cut (Send to clipboard)"), &QAction::triggered, b, [b] {
        const std::string a = b->Selected(kNewsAddress);
        if (!a.empty()) QApplication::clipboard()->setText(DisplayText(a));
    });
    m->addSeparator();
    auto view = [&w, news](bool selectedOnly) {
        std::vector<bool> sel;
        if (selectedOnly) {
            sel.assign(size_t(news->List().Count()), false);
            for (int r : news->List().SelectedRows()) sel[size_t(r)] = true;
        }
        if (news->ExportPage(news->ViewFile(), sel))
            w.OpenInBrowser("file://" + news->ViewFile());
        else
            w.ShowAlert(kExportDiskError, AlertKind::Error);
    };
    QObject::connect(m->addAction("View all search results as a WEB page"), &QAction::triggered, b,
                     [view] { view(false); });
    QObject::connect(m->addAction("View selected site(s) as a WEB page"), &QAction::triggered, b,
                     [view] { view(true); });
    QObject::connect(m->addAction("Save article(s) to a file"), &QAction::triggered, b, [&w, news, page] {
        const QString file = QFileDialog::getSaveFileName(page, "Save article(s) to a file", {},
                                                          "HTML files (*.htm*);;All files (*)");
        if (file.isEmpty()) return;
        std::vector<bool> sel;
        if (!news->List().SelectedRows().empty()) {
            sel.assign(size_t(news->List().Count()), false);
            for (int r : news->List().SelectedRows()) sel[size_t(r)] = true;
        }
        if (!news->ExportPage(WithHtmlExtension(file.toStdString()), sel)) w.ShowAlert(kExportDiskError, AlertKind::Error);
    });
    m->addSeparator();
    AddFavoritesItem(w, m, news->List(), 1);

    ShellHooks &hooks = w.Hooks();
    // The boxes show their histories (ComboBox_NEWS.INI, ComboBox_NEWSGRP.INI) once loaded,
    // and hand their texts back before the histories are saved.
    hooks.loadHistoriesAndFavorites = [&w, page, old = hooks.loadHistoriesAndFavorites] {
        if (old) old();
        SyncBox(page->QueryBox(), w.QueryHistories().news);
        SyncBox(page->GroupBox(), w.QueryHistories().newsGroup);
        page->QueryBox()->setCurrentText("");
        page->GroupBox()->setCurrentText("");
    };
    hooks.saveHistories = [&w, page, old = hooks.saveHistories] {
        w.QueryHistories().news.editText = Typed(page->QueryBox());
        w.QueryHistories().newsGroup.editText = Typed(page->GroupBox());
        if (old) old();
    };
    auto previous = hooks.endNewsSearch;
    hooks.endNewsSearch = [news, &w, previous] {
        if (w.Model().closing) news->Close();
        else news->Controller().End();
        if (previous) previous();
    };
}

void BindSoftware(TMain &w) {
    VerticalPage *page = PutPage(w, PageId::Software, false);
    if (!page) return;
    VerticalHost host = HostOf(w);
    host.pushHistory = [&w, page](const std::string &) {
        Histories &h = w.QueryHistories();
        h.software.editText = Typed(page->QueryBox());
        TMisc::PushHistory(h.software);
        SyncBox(page->QueryBox(), h.software);
    };
    auto *prg = new SoftwareSearch(std::move(host), &w);
    auto *b = new VerticalBinding(w, *page, prg->List(), prg->Controller(), Activity::SoftwareSearch,
                                  kPrgDescription, kPrgUrl);
    SetColumnWidths(page->ResultList(), {36, 165, 80, 60, 130, 60, 0, 0, 0});
    const auto modes = page->ModeGroup()->actions();
    for (int i = 0; i < modes.size(); ++i)
        QObject::connect(modes[i], &QAction::triggered, b, [prg, page, i] {
            prg->SetMode(static_cast<SearchMode>(i));
            if (i < 3) page->FilterBox()->clear();
        });
    QObject::connect(page->QueryBox(), &QComboBox::textActivated, b,
                     [prg, page] { prg->Recall(Typed(page->QueryBox())); });
    QMenu *m = page->Popup();
    QAction *dl = m->addAction("Download");
    QAction *visit = m->addAction("Vist the author's site");
    QObject::connect(dl, &QAction::triggered, b, [prg] { prg->Download(prg->List().FirstSelectedRow()); });
    QObject::connect(visit, &QAction::triggered, b, [prg] { prg->Visit(prg->List().FirstSelectedRow()); });
    m->addSeparator();
    QObject::connect(m->addAction("Cut (Send to clipboard)"), &QAction::triggered, b, [b] {
        const std::string a = b->Selected(kPrgUrl);
        if (!a.empty()) QApplication::clipboard()->setText(DisplayText(a));
    });
    m->addSeparator();
    AddFavoritesItem(w, m, prg->List(), 2);
    prg->Act().open = [b](const std::string &a) { b->Open(a); };
    prg->Act().showDetails = [&w](const std::string &text) { RunHook(w.Hooks().showSoftwareDetails, text); };
    // The favorites page's C|NET Download and Visit use this client too.
    w.Hooks().requestSoftwareDetail = [prg](const std::string &a, int action) {
        prg->RequestDetail(a, static_cast<DetailAction>(action));
    };
    prg->Act().itemsEnabled = [&w, dl, visit, page](bool on) {
        RunHook(w.Hooks().softwareDetailItems, on);
        dl->setEnabled(on);
        visit->setEnabled(on);
        if (on) page->ResultList()->unsetCursor();
        else page->ResultList()->setCursor(Qt::WaitCursor);
    };

    // The close sequence has no step of its own for the software search: it ends (without
    // the stop sound) at the first step of the close, before the histories are saved.
    ShellHooks &hooks = w.Hooks();
    hooks.loadHistoriesAndFavorites = [&w, page, old = hooks.loadHistoriesAndFavorites] {
        if (old) old();
        SyncBox(page->QueryBox(), w.QueryHistories().software);  // ComboBox_FINDPRG.INI
        page->QueryBox()->setCurrentText("");
    };
    hooks.saveHistories = [&w, prg, page, old = hooks.saveHistories] {
        prg->Close();
        w.QueryHistories().software.editText = Typed(page->QueryBox());
        if (old) old();
    };
}

// The BOARD and MP3 pages: no search modes and no popup; the button reads "Rechercher" until
// the first search ends. The forum list shows "Titles" over its first column while a search
// starts, until rows come or the search ends.
void BindPlain(TMain &w, PageId id, const PlainVerticalKind &kind, Activity activity, HistoryBox Histories::*box,
               std::initializer_list<int> widths, bool hint) {
    VerticalPage *page = PutPage(w, id, false);
    if (!page) return;
    page->ModeButton()->setVisible(false);
    page->HintMemo()->setVisible(hint);
    page->SearchButton()->setText("Rechercher");
    VerticalHost host = HostOf(w);
    host.pushHistory = [&w, page, box](const std::string &) {
        HistoryBox &h = w.QueryHistories().*box;
        h.editText = Typed(page->QueryBox());
        TMisc::PushHistory(h);
        SyncBox(page->QueryBox(), h);
    };
    auto *search = new PlainVerticalSearch(kind, std::move(host), &w);
    auto *b = new VerticalBinding(w, *page, search->List(), search->Controller(), activity, kFrmDescription, kFrmUrl);
    SetColumnWidths(page->ResultList(), widths);
    if (kind.kind == SearchKind::Forum) {
        ResultListModel *list = &search->List();
        auto words = [list, many = kind.many](const QString &empty) {
            list->SetCountWords(empty, many);
            emit list->headerDataChanged(Qt::Horizontal, 1, 1);
        };
        QObject::connect(&search->Controller(), &VerticalSearchController::searchStarted, b,
                         [words] { words("Titles"); });
        QObject::connect(&search->Controller(), &VerticalSearchController::searchEnded, b,
                         [words, one = kind.one] { words(one); });
        QObject::connect(list, &ResultListModel::listChanged, b, [list, words, one = kind.one] {
            if (list->Count() > 0) words(one);
        });
    }
    QObject::connect(page->QueryBox(), &QComboBox::textActivated, b,
                     [search, page] { search->Recall(Typed(page->QueryBox())); });
    QObject::connect(page->QueryBox(), &QComboBox::editTextChanged, b, [search](const QString &text) {
        if (text.trimmed().isEmpty()) search->Recall({});  // the nameless cache file goes
    });

    ShellHooks &hooks = w.Hooks();
    hooks.loadHistoriesAndFavorites = [&w, page, box, old = hooks.loadHistoriesAndFavorites] {
        if (old) old();
        SyncBox(page->QueryBox(), w.QueryHistories().*box);
        page->QueryBox()->setCurrentText("");
    };
    hooks.saveHistories = [&w, search, page, box, old = hooks.saveHistories] {
        search->Close();
        (w.QueryHistories().*box).editText = Typed(page->QueryBox());
        if (old) old();
    };
}

}  // namespace

void BindVerticalSearches(TMain &window) {
    BindNews(window);
    BindSoftware(window);
    BindPlain(window, PageId::Forum, ForumKind(), Activity::ForumSearch, &Histories::forum, {0, 250, 150, 80, 0, 0},
              true);
    BindPlain(window, PageId::Mp3, Mp3Kind(), Activity::Mp3Search, &Histories::mp3, {20, 200, 60, 130, 70, 0}, false);
}

}  // namespace qm
