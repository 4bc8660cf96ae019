#include "app/CataloguePage.h"

#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/Pages.h"
#include "engines/web/HttpClientAdapter.h"
#include "search/Export.h"
#include "settings/Opt.h"
#include "toolkit/DisplayText.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>

namespace qm {

CataloguePage::CataloguePage(TMain &w, CatalogueBrowser &browser, QWidget *parent)
    : QWidget(parent), w_(w), b_(browser) {
    auto *layout = new QHBoxLayout(this);
    auto *left = new QVBoxLayout;
    left->addWidget(new QLabel("Categories"));
    categories_ = new QListWidget;
    categories_->setObjectName("LV_CNETC");
    left->addWidget(categories_, 1);
    left->addWidget(new QLabel("Sub-categories"));
    subs_ = new QListWidget;
    subs_->setObjectName("LV_CNETSC");
    subs_->setContextMenuPolicy(Qt::CustomContextMenu);
    left->addWidget(subs_, 2);
    update_ = new QPushButton("Update");
    update_->setObjectName("BT_CNET");
    update_->setEnabled(false);
    left->addWidget(update_);
    auto *link = new QLabel("<a href=\"home\">" + DisplayText(CatalogueHost()) + "</a>");
    link->setObjectName("LBL_CNET_VIS");
    left->addWidget(link);
    layout->addLayout(left, 1);

    auto *split = new QSplitter(Qt::Vertical);
    titles_ = new QTreeView;
    titles_->setObjectName("LV_CNET");
    titles_->setModel(&b_.List());
    titles_->setSelectionModel(b_.List().Selection());
    titles_->setRootIsDecorated(false);
    titles_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    titles_->setSelectionBehavior(QAbstractItemView::SelectRows);
    titles_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    titles_->setContextMenuPolicy(Qt::CustomContextMenu);
    const int widths[] = {0, 160, 80, 60, 60, 75, 75, 0, 0};
    for (int c = 0; c < 9; ++c) {
        titles_->setColumnHidden(c, widths[c] == 0);
        titles_->setColumnWidth(c, widths[c]);
    }
    split->addWidget(titles_);
    hint_ = new QPlainTextEdit;
    hint_->setObjectName("MMCNETHINT");
    hint_->setReadOnly(true);
    hint_->setVisible(false);
    split->addWidget(hint_);
    layout->addWidget(split, 3);

    popup_ = new QMenu(this);
    auto selectedUrl = [this]() -> std::string {
        const int r = b_.List().FirstSelectedRow();
        if (r < 0 || IsCatalogueNotice(b_.List().Row(r))) return {};
        const std::string &a = b_.List().Row(r).subItems[kCatUrl];
        return IsSafeToOpen(a) ? a : std::string();
    };
    popup_->addAction("Open", this, [this, selectedUrl] {
        if (const std::string a = selectedUrl(); !a.empty()) w_.OpenInBrowser(a);
    });
    details_ = popup_->addAction("Get more details", this, [this] { Detail(0); });
    download_ = popup_->addAction("Download now", this, [this] { Detail(1); });
    visit_ = popup_->addAction("Visit the author's site", this, [this] { Detail(2); });
    opinions_ = popup_->addAction("Read users opinions", this, [this] { Detail(3); });
    popup_->addSeparator();
    popup_->addAction("Cut (Send to clipboard)", this, [selectedUrl] {
        if (const std::string a = selectedUrl(); !a.empty()) QApplication::clipboard()->setText(DisplayText(a));
    });
    popup_->addSeparator();
    popup_->addAction("Add selection to my favorites", this,
                      [this] { RunHook(w_.Hooks().addFavorites, 2, b_.SelectedAsFavorites()); });
    connect(titles_, &QWidget::customContextMenuRequested, popup_,
            [this](const QPoint &p) { popup_->popup(titles_->viewport()->mapToGlobal(p)); });

    subPopup_ = new QMenu(this);
    subPopup_->addAction("Remove from cache", this, [this] {
        if (Subcategory().empty()) return;
        if (b_.RemoveCache(Category(), Subcategory())) {
            QApplication::processEvents();
            w_.ShowAlert(w_.Model().messages.TextOf("Subcategory removed from cache"), AlertKind::Information);
        }
        FillSubcategories();
    });
    subPopup_->addAction("Open this subategory in your navigator", this, [this] {
        const int e = FindCatalogueEntry(Category(), Subcategory());
        if (e >= 0) w_.OpenInBrowser(CatalogueAddress(CatalogueTable()[size_t(e)]));
    });
    connect(subs_, &QWidget::customContextMenuRequested, subPopup_,
            [this](const QPoint &p) { subPopup_->popup(subs_->viewport()->mapToGlobal(p)); });

    connect(link, &QLabel::linkActivated, this, [this] { w_.OpenInBrowser(CatalogueHost()); });
    connect(categories_, &QListWidget::itemClicked, this, [this] {
        b_.Stop();
        FillSubcategories();
    });
    connect(subs_, &QListWidget::itemClicked, this, [this] { SubcategoryClicked(); });
    connect(subs_, &QListWidget::itemDoubleClicked, this, [this] { UpdateClicked(); });
    connect(update_, &QPushButton::clicked, this, [this] { UpdateClicked(); });
    connect(titles_, &QTreeView::doubleClicked, this, [this, selectedUrl] {
        if (const std::string a = selectedUrl(); !a.empty()) w_.OpenInBrowser(a);
    });
    connect(titles_->header(), &QHeaderView::sectionClicked, this, [this](int c) { b_.SortByColumn(c); });
    connect(&b_.Controller(), &VerticalSearchController::searchingChanged, this, [this](bool on) {
        w_.Model().Flag(Activity::CatalogueUpdate) = on ? 1 : 0;
        update_->setText(on ? "Stop" : "Update");
    });
    connect(&b_.Controller(), &VerticalSearchController::searchEnded, this, [this] { FillSubcategories(); });
    connect(&b_.List(), &ResultListModel::listChanged, this, [this] { Refresh(); });
    connect(b_.List().Selection(), &QItemSelectionModel::selectionChanged, this, [this] { Refresh(); });
}

std::string CataloguePage::Category() const {
    auto *i = categories_->currentItem();
    return i ? i->text().toStdString() : std::string();
}

std::string CataloguePage::Subcategory() const {
    auto *i = subs_->currentItem();
    return i ? i->data(Qt::UserRole).toString().toStdString() : std::string();
}

void CataloguePage::FillCategories() {
    categories_->clear();
    for (const auto &c : CatalogueCategories()) categories_->addItem(QString::fromStdString(c));
    if (categories_->count() > 0) categories_->setCurrentRow(0);
    FillSubcategories();
}

void CataloguePage::FillSubcategories() {
    const std::string cat = Category(), keep = Subcategory();
    const std::string root = w_.Model().dirs.ProgramDir;
    subs_->clear();
    for (int i : CatalogueSubcategories(cat)) {
        const auto &e = CatalogueTable()[size_t(i)];
        auto *item = new QListWidgetItem(QString::fromStdString(e.subcategory), subs_);
        item->setData(Qt::UserRole, QString::fromStdString(e.subcategory));
        item->setData(Qt::UserRole + 1, QString::fromStdString(CatalogueAddress(e)));
        if (IsCatalogueCached(root, cat, e.subcategory)) item->setIcon(style()->standardIcon(QStyle::SP_DriveHDIcon));
        if (keep == e.subcategory) subs_->setCurrentItem(item);
    }
    update_->setEnabled(subs_->count() > 0);
}

void CataloguePage::SubcategoryClicked() {
    b_.ShowCached(Category(), Subcategory());
    Refresh();
}

void CataloguePage::UpdateClicked() {
    if (b_.Updating()) {
        b_.Stop();
        return;
    }
    if (Subcategory().empty()) return;
    b_.Update(Category(), Subcategory());
}

void CataloguePage::Refresh() {
    const int r = b_.List().FirstSelectedRow();
    hint_->setVisible(r >= 0);
    hint_->setPlainText(r >= 0 ? DisplayText(b_.List().Row(r).subItems[kCatDescription]) : QString());
    hint_->moveCursor(QTextCursor::Start);
}

void CataloguePage::Detail(int action) {
    const int r = b_.List().FirstSelectedRow();
    if (r < 0 || IsCatalogueNotice(b_.List().Row(r))) return;
    const std::string url = b_.List().Row(r).subItems[kCatUrl];
    if (!IsSafeToOpen(url)) return;
    if (action > 0) opinions_->setEnabled(false);
    RunHook(w_.Hooks().requestSoftwareDetail, url, action);
}

void CataloguePage::SetDetailItems(bool on) {
    details_->setEnabled(on);
    download_->setEnabled(on);
    visit_->setEnabled(on);
    if (on) opinions_->setEnabled(true);
    if (on) titles_->unsetCursor();
    else titles_->setCursor(Qt::WaitCursor);
}

void CataloguePage::ShowDetails(const std::string &text) {
    hint_->setVisible(true);
    hint_->setPlainText(DisplayText(text));
    hint_->moveCursor(QTextCursor::Start);
}

void BindCatalogue(TMain &w) {
    FeaturePage *p = w.Page(PageId::Catalogue);
    if (!p) return;
    VerticalHost host;
    host.makeClient = MakeHttpClientFactory([&w] { return ProxyFrom(w.OptionsModel().get()); },
                                            [&w] { return LimitsFrom(w.OptionsModel().get()); });
    host.dataRoot = [&w] { return w.Model().dirs.ProgramDir; };
    host.alert = [&w](const std::string &t) { w.ShowAlert(t, AlertKind::Error); };
    host.message = [&w](const std::string &e) { return w.Model().messages.TextOf(e); };
    host.playSound = [&w](const std::string &s) { w.Misc().PlaySoundFile(s, w.Model().dirs.ProgramDir); };
    host.mute = [&w] { return w.OptionsModel().get().muteWav; };
    auto *browser = new CatalogueBrowser(std::move(host), &w);
    auto *page = new CataloguePage(w, *browser, p->Body());
    p->BodyLayout()->addWidget(page);

    ShellHooks &h = w.Hooks();
    h.fillCatalogueCategories = [page, old = h.fillCatalogueCategories] {
        if (old) old();
        page->FillCategories();
    };
    h.endCatalogueUpdate = [browser, old = h.endCatalogueUpdate] {
        browser->Close();
        if (old) old();
    };
    h.softwareDetailItems = [page, old = h.softwareDetailItems](bool on) {
        if (old) old(on);
        page->SetDetailItems(on);
    };
    h.showSoftwareDetails = [page](const std::string &text) { page->ShowDetails(text); };
}

}  // namespace qm
