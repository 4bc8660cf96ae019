// The smart finder in the window: the page's widgets bound to SmartCategoryModel and
// SmartSearchController (src/smart); the list tools reuse the display-free pieces of the web
// list (in-list filter, export, safe opening, clipboard).
#include "app/SmartBinding.h"

#include "app/WidgetEvents.h"

#include "app/MainWindow.h"
#include "app/SmartPage.h"
#include "app/WebListTools.h"
#include "net/CookieStore.h"
#include "engines/web/HttpClientAdapter.h"
#include "engines/web/UrlChecker.h"
#include "search/Export.h"
#include "search/InListFilterModel.h"
#include "settings/DataRoot.h"
#include "smart/CategoryTable.h"
#include "smart/SmartCategoryModel.h"
#include "smart/SmartSearch.h"
#include "toolkit/DisplayText.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <cstdio>

namespace qm {

namespace {

// The mark of a leaf with a cache: a small teal disk with a white tick.
QIcon CachedIcon() {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x2f, 0x7f, 0x7f));
    p.setPen(Qt::NoPen);
    p.drawEllipse(1, 1, 14, 14);
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(4, 8, 7, 11);
    p.drawLine(7, 11, 12, 5);
    return QIcon(pm);
}

class SmartBinding : public QObject {
public:
    explicit SmartBinding(TMain &w)
        : QObject(&w), w_(w), root_(w.Model().dirs.ProgramDir), cookies_(CookieFileIn(root_)) {
        FeaturePage *host = w.Page(PageId::Smart);
        page_ = new SmartPage(host->Body());
        host->BodyLayout()->addWidget(page_, 1);
        host->SetFocusTarget(page_->CategoryList());
        host->HelpPanel()->setText(QStringLiteral("Smart Web sites finder"));  // PNL_HELP_SMR

        categories_ = new SmartCategoryModel(root_, this);
        categories_->SetCachedIcon(CachedIcon());
        page_->CategoryList()->setModel(categories_);
        connect(categories_, &SmartCategoryModel::levelChanged, this, [this] { ShowCrumbs(); });

        list_ = CreateSmartList(this);
        const MessageTable &m = w.Model().messages;
        list_->SetCountWords(Shown(m.Text(Msg::Site)), Shown(m.Text(Msg::Sites)));
        QTreeView *view = page_->ResultList();
        view->setModel(list_);
        view->setSelectionModel(list_->Selection());
        page_->ApplyColumnLayout();
        view->setSortingEnabled(false);
        view->header()->setSectionsClickable(true);

        WebSearchEnvironment env;
        env.settings = [this] { return WebSettingsFrom(w_.OptionsModel().get()); };
        env.makeClient = MakeHttpClientFactory([this] { return ProxyFrom(w_.OptionsModel().get()); },
                                               [this] { return LimitsFrom(w_.OptionsModel().get()); });
        env.alert = [this](const std::string &text) { w_.ShowAlert(text, AlertKind::Error); };
        env.playSound = [this](const std::string &sound) { w_.Misc().PlaySoundFile(sound, root_); };
        env.message = [this](const std::string &english) { return Text(english.c_str()); };
        env.stopVerification = [this] {
            if (auto *tools = w_.findChild<WebListTools *>()) tools->Verification().Stop();
        };
        env.cookies = &cookies_;
        controller_ = new SmartSearchController(*list_, std::move(env), root_, this);

        // Categories and breadcrumbs.
        connect(page_->Crumb(0), &ClickLabel::clicked, this, [this] { categories_->ShowTops(); });
        connect(page_->Crumb(1), &ClickLabel::clicked, this, [this] {
            if (!categories_->Top().empty()) categories_->ShowSubcategories();
        });
        connect(page_->Crumb(2), &ClickLabel::clicked, this, [this] {
            if (!categories_->Sub().empty()) categories_->ShowLeaves();
        });
        connect(page_->CategoryList(), &QListView::clicked, this, [this](const QModelIndex &i) { CategoryClick(i); });
        connect(page_->CategoryList(), &QListView::doubleClicked, this, [this] { Open(false); });
        connect(page_->SearchButton(), &QPushButton::clicked, this, [this] { Open(true); });

        // The search.
        connect(controller_, &SmartSearchController::searchingChanged, this, [this](bool on) {
            w_.Model().Flag(Activity::SmartSearch) = on ? 1 : 0;
            page_->SearchButton()->setText(on ? Shown(w_.Model().messages.Text(Msg::Stop)) : SelectedCaption());
        });
        connect(controller_, &SmartSearchController::searchStarted, this, [this] {
            page_->FilterBar()->setVisible(false);
            page_->HintMemo()->clear();
            page_->Caption()->setText(page_->SearchButton()->text());
            page_->ResultList()->header()->setSortIndicatorShown(false);
        });
        connect(controller_, &SmartSearchController::searchEnded, this, [this] {
            // The leaves again (their cached marks change), the searched one still chosen.
            if (!categories_->Sub().empty() && categories_->Level() == 2) {
                const QString chosen = page_->SearchButton()->text();
                categories_->ShowLeaves();
                for (int r = 0; r < categories_->Count(); ++r)
                    if (Shown(categories_->At(r).caption) == chosen)
                        page_->CategoryList()->setCurrentIndex(categories_->index(r));
            }
            Refresh();
        });
        connect(controller_, &SmartSearchController::cacheLoaded, this,
                [this](const QString &caption) { page_->Caption()->setText(caption); });

        // The result list.
        connect(list_, &ResultListModel::listChanged, this, [this] { Refresh(); });
        connect(list_->Selection(), &QItemSelectionModel::selectionChanged, this, [this] { Refresh(); });
        connect(view->header(), &QHeaderView::sectionClicked, this, [this, view](int column) {
            list_->SortByColumn(column, ResultListModel::SortMode::Text);
            view->header()->setSortIndicator(column, Qt::AscendingOrder);
            view->header()->setSortIndicatorShown(true);
        });
        connect(view, &QTreeView::doubleClicked, this, [this] { OpenSelected(); });
        KeyActions::InstallListKeys(
            view,
            [this] {
                list_->ToggleSelectAll();
                Refresh();
            },
            [this] { OpenSelected(); });

        // The in-list filter.
        connect(page_->FilterBox(), &QLineEdit::textChanged, this, [this] { RunFilter(); });
        KeyActions::InstallFilterKeys(page_->FilterBox(), [this] { page_->FilterBox()->clear(); }, [this] { MoveToTop(); });
        for (int i = 0; i < 3; ++i)
            connect(page_->FilterModeAction(i), &QAction::triggered, this, [this] {
                page_->FilterBox()->clear();
                RunFilter();
            });
        connect(page_->FilterCount(), &ClickLabel::clicked, this, [this] { MoveToTop(); });

        // The popup.
        QMenu *pop = page_->Popup();
        pop->addAction(Shown(Text("Open selected site")), this, [this] { OpenSelected(); });
        pop->addSeparator();
        pop->addAction(Shown(Text("View all search results as a WEB page")), this, [this] { View(false); });
        pop->addAction(Shown(Text("View selected site(s) as a WEB page")), this, [this] { View(true); });
        pop->addSeparator();
        pop->addAction(Shown(Text("Cut (Send to clipboard)")), this, [this] { list_->CutSelectedToClipboard(); });
        pop->addAction(Shown(Text("Verify if selected site(s) still open")))->setEnabled(false);
        pop->addSeparator();
        pop->addAction(Shown(Text("Save site(s) to a file")), this, [this] { Save(); });
        pop->addSeparator();
        pop->addAction(Shown(Text("Add selection to my favorites")), this, [this] { AddToFavorites(); });
        connect(view, &QWidget::customContextMenuRequested, this,
                [this, view](const QPoint &pos) { page_->Popup()->popup(view->viewport()->mapToGlobal(pos)); });

        // Closing the window ends a running search without the stop sound.
        CloseWatcher::Install(&w, this, [this] { controller_->Close(); });
        page_->SearchButton()->setText(QString());
    }

    void ShowTops() { categories_->ShowTops(); }

private:
    std::string Text(const char *english) const { return w_.Model().messages.TextOf(english); }

    QString SelectedCaption() const {
        const QModelIndex i = page_->CategoryList()->currentIndex();
        if (!i.isValid() || !page_->CategoryList()->selectionModel()->isSelected(i)) return {};
        return Shown(categories_->At(i.row()).caption);
    }

    void ShowCrumbs() {
        page_->Crumb(1)->setText(Shown(categories_->Top()));
        page_->Crumb(2)->setText(Shown(categories_->Sub()));
        page_->PlaceCrumbs();
    }

    void CategoryClick(const QModelIndex &index) {
        if (!index.isValid()) return;
        const std::string caption = categories_->At(index.row()).caption;
        if (!controller_->Running()) page_->SearchButton()->setText(Shown(caption));
        if (categories_->Descend(index.row())) return;
        if (!controller_->Running()) Open(false);
    }

    // LVBSMRDblClick: the leaf's cache, or a search; BT_SMR always searches (or stops).
    void Open(bool fromButton) {
        if (fromButton && controller_->Running()) {
            controller_->OpenLeaf({}, true);
            return;
        }
        const QModelIndex i = page_->CategoryList()->currentIndex();
        if (categories_->Level() != 2 || !i.isValid()) return;
        const std::string caption = fromButton ? page_->SearchButton()->text().trimmed().toUtf8().toStdString()
                                               : categories_->At(i.row()).caption;
        controller_->SetVerifying(w_.Model().verifying != 0);
        controller_->OpenLeaf(caption, fromButton);
    }

    void Refresh() {
        if (list_->Updating()) return;
        const bool rows = list_->Count() > 0;
        page_->FilterBar()->setVisible(rows);
        std::string hint = list_->HintText(kDescription);
        const int r = list_->FirstSelectedRow();
        if (r >= 0 && !list_->Row(r).subItems[kSmartCost].empty())
            hint += "   ... (cost to advertiser : " + list_->Row(r).subItems[kSmartCost] + ")";
        page_->HintMemo()->setPlainText(DisplayText(hint));
    }

    void RunFilter() {
        FilterMode mode = FilterMode::All;
        if (page_->FilterModeAction(1)->isChecked()) mode = FilterMode::Any;
        if (page_->FilterModeAction(2)->isChecked()) mode = FilterMode::Exact;
        const QByteArray typed = page_->FilterBox()->text().toUtf8();
        const size_t n = ApplyInListFilter(*list_, std::string_view(typed.constData(), size_t(typed.size())), mode);
        page_->FilterCount()->setText(QString::fromStdString(FilterCountText(n, Text("Found"))));
    }

    void MoveToTop() {
        switch (MoveSelectedToTop(*list_, w_.Model().verifying != 0)) {
        case MoveToTopResult::Beep: QApplication::beep(); break;
        case MoveToTopResult::Moved: page_->ResultList()->scrollToTop(); break;
        case MoveToTopResult::Nothing: break;
        }
    }

    void OpenSelected() {
        const std::string address = list_->SelectedAddress();
        if (!address.empty() && IsSafeToOpen(address)) w_.OpenInBrowser(LinkableAddress(address));
    }

    std::vector<bool> Selected() const {
        std::vector<bool> flags(size_t(list_->Count()), false);
        for (int r : list_->SelectedRows()) flags[size_t(r)] = true;
        return flags;
    }

    void View(bool selectedOnly) {
        const std::string path = root_ + "/Cache/SmartView.htm";
        std::vector<bool> selected;
        if (selectedOnly) selected = Selected();
        if (selectedOnly && selected.empty()) selected.assign(1, false);
        if (!ExportWebResultPage(root_, list_->Rows(), path, selected)) {
            w_.ShowAlert(Text(kExportDiskError), AlertKind::Error);
            return;
        }
        w_.OpenInBrowser("file://" + path);
    }

    void Save() {
        const std::string chosen =
            QFileDialog::getSaveFileName(&w_, QString(), QString::fromStdString(saveDir_),
                                         "HTML files (*.htm*);;All files (*)")
                .toStdString();
        if (chosen.empty()) return;
        saveDir_ = QFileInfo(QString::fromStdString(chosen)).absolutePath().toStdString();
        const std::string path = WithHtmlExtension(chosen);
        std::remove(path.c_str());
        std::vector<bool> selected;
        if (!list_->SelectedRows().empty()) selected = Selected();
        if (!ExportWebResultPage(root_, list_->Rows(), path, selected))
            w_.ShowAlert(Text(kExportDiskError), AlertKind::Error);
    }

    void AddToFavorites() {
        std::vector<ResultRow> rows;
        for (int r : list_->SelectedRows()) rows.push_back(list_->Row(r));
        if (!rows.empty()) RunHook(w_.Hooks().addSmartFavorites, rows);
    }

    TMain &w_;
    std::string root_;
    CookieStore cookies_;
    SmartPage *page_;
    SmartCategoryModel *categories_;
    ResultListModel *list_;
    SmartSearchController *controller_;
    std::string saveDir_;
};

}  // namespace

void BindSmartFinder(TMain &window) {
    auto *binding = new SmartBinding(window);
    binding->setObjectName("SmartBinding");
    ShellHooks &h = window.Hooks();
    auto before = h.showSmartCategories;
    h.showSmartCategories = [binding, before] {
        if (before) before();
        binding->ShowTops();
    };
}

}  // namespace qm
