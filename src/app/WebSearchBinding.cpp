#include "app/WebSearchBinding.h"

#include "app/WidgetEvents.h"

#include "app/MainWindow.h"
#include "app/WebListTools.h"
#include "app/WebPage.h"
#include "net/CookieStore.h"
#include "engines/web/HttpClientAdapter.h"
#include "engines/web/UrlChecker.h"
#include "engines/web/WebBotEngine.h"
#include "engines/web/WebEngineTable.h"
#include "engines/web/WebSearchController.h"
#include "net/HttpCli.h"
#include "search/ResultCache.h"
#include "search/ResultListModel.h"
#include "search/SearchModeModel.h"
#include "settings/DataRoot.h"
#include "settings/Opt.h"
#include "toolkit/DisplayText.h"

#include <QAction>
#include <QHeaderView>
#include <QComboBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeView>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QToolButton>
#include <array>

namespace qm {

namespace {


class WebSearchBinding : public QObject {
public:
    explicit WebSearchBinding(TMain &w)
        : QObject(&w),
          w_(w),
          page_(*w.Web()),
          table_(BuildWebEngineTable()),
          list_(ResultListModel::CreateWebList(this)),
          modes_(new SearchModeModel(this)),
          cookies_(CookieFileIn(w.Model().dirs.ProgramDir)) {
        const MessageTable &m = w.Model().messages;
        list_->SetCountWords(Shown(m.Text(Msg::Site)), Shown(m.Text(Msg::Sites)));
        QTreeView *view = page_.ResultList();
        view->setModel(list_);
        view->setSelectionModel(list_->Selection());
        page_.ApplyColumnLayout();

        // Search modes: the menu's radio items drive the model, which sets the engines' modes.
        modes_->onChosen = [this](SearchMode mode) {
            SetWebSearchMode(table_, mode);
            templates_.SetSearchMode(mode);
        };
        for (int i = 0; i < kSearchModeCount; ++i)
            connect(page_.ModeAction(i), &QAction::triggered, this,
                    [this, i] { modes_->Choose(static_cast<SearchMode>(i)); });

        WebSearchEnvironment env;
        env.settings = [this] { return WebSettingsFrom(w_.OptionsModel().get()); };
        env.makeClient = MakeHttpClientFactory([this] { return ProxyFrom(w_.OptionsModel().get()); },
                                               [this] { return LimitsFrom(w_.OptionsModel().get()); });
        env.alert = [this](const std::string &text) { w_.ShowAlert(text, AlertKind::Error); };
        env.pushHistory = [this](const std::string &) {
            w_.WebBoxToHistory();
            TMisc::PushHistory(w_.QueryHistories().web);
            w_.HistoryToWebBox();
        };
        env.saveCache = [this](const std::string &query) {
            const Options &o = w_.OptionsModel().get();
            WebResultCache(DataRoot(w_.Model().dirs.ProgramDir).cacheDir()).Write(list_->Rows(), query,
                                                                                o.web.useDiskCache);
        };
        env.playSound = [this](const std::string &sound) { w_.Misc().PlaySoundFile(sound, w_.Model().dirs.ProgramDir); };
        env.message = [this](const std::string &english) { return Message(english); };
        env.stopVerification = [this] {
            if (tools_) tools_->Verification().Stop();
        };
        env.cookies = &cookies_;
        UseBuiltInReaders(env);
        controller_ = new WebSearchController(table_, *list_, std::move(env), this);

        // The engines described by files (Engines/WebSearch.grp) share the page, the list, the
        // flag and the button with the built-in search; the GO!!! button starts them.
        byFiles_ = new TemplateSearchController(templates_, *controller_, this);
        auto searching = [this](bool on) {
            w_.Model().searching() = on ? 1 : 0;
            const MessageTable &msg = w_.Model().messages;
            page_.SearchButton()->setText(Shown(msg.Text(on ? Msg::Stop : Msg::Search)));
        };
        auto started = [this] {
            page_.FilterBar()->setVisible(false);
            page_.HintMemo()->clear();
        };
        connect(controller_, &WebSearchController::searchingChanged, this, searching);
        connect(controller_, &WebSearchController::searchStarted, this, started);
        connect(byFiles_, &TemplateSearchController::searchingChanged, this, searching);
        connect(byFiles_, &TemplateSearchController::searchStarted, this, started);
        connect(page_.TemplateButton(), &QPushButton::clicked, this,
                [this] { byFiles_->Press(TypedText(page_.QueryBox()->currentText())); });

        // The list's change and click refresh the hint memo (the header follows the model).
        auto refresh = [this] {
            if (list_->Updating()) return;
            page_.FilterBar()->setVisible(list_->Count() > 0);
            page_.HintMemo()->setPlainText(DisplayText(list_->HintText()));
            page_.HintMemo()->moveCursor(QTextCursor::Start);
        };
        connect(list_, &ResultListModel::listChanged, this, refresh);
        connect(list_->Selection(), &QItemSelectionModel::selectionChanged, this, refresh);
        connect(view->header(), &QHeaderView::sectionClicked, this, [this, view](int column) {
            // With merging on, the Source column orders by the engines that found a site.
            const bool byEngines = column == WebPage::ColSource && w_.OptionsModel().get().mergeSameSite;
            if (byEngines)
                list_->SortByEngineCount(kSource);
            else
                list_->SortByColumn(column, ResultListModel::SortMode::Text);
            view->header()->setSortIndicator(column, byEngines ? Qt::DescendingOrder : Qt::AscendingOrder);
            view->header()->setSortIndicatorShown(true);
        });
        // The view's own sorting stays off; turning it off also makes the titles unclickable,
        // so the titles are made clickable afterwards.
        view->setSortingEnabled(false);
        view->header()->setSectionsClickable(true);
        // A new search shows the arrival order: no column is sorted.
        auto unsorted = [view] { view->header()->setSortIndicatorShown(false); };
        connect(controller_, &WebSearchController::searchStarted, this, unsorted);
        connect(byFiles_, &TemplateSearchController::searchStarted, this, unsorted);

        BindEngineStatus();
        connect(view, &QTreeView::doubleClicked, this, [this] { OpenSelected(); });
        KeyActions::InstallListKeys(
            view,
            [this, refresh] {
                list_->ToggleSelectAll();
                refresh();
            },
            [this] { OpenSelected(); });

        WebListToolsHost host;
        host.dataRoot = [this] { return w_.Model().dirs.ProgramDir; };
        host.text = [this](const char *english) { return Message(english); };
        host.alert = [this](const std::string &t) { w_.ShowAlert(t, AlertKind::Error); };
        host.inform = [this](const std::string &t) { w_.ShowAlert(t, AlertKind::Information); };
        host.openInBrowser = [this](const std::string &a) { w_.OpenInBrowser(a); };
        host.configureClient = [this](THttpCli &c) { ApplyProxySettings(c, ProxyFrom(w_.OptionsModel().get())); };
        host.setVerifying = [this](bool on) {
            controller_->SetVerifying(on);
            w_.Model().verifying = on ? 1 : 0;
        };
        host.searching = [this] { return byFiles_->AnySearchRuns(); };
        host.endSearch = [this] {
            byFiles_->FinishTemplateSearch();
            controller_->EndWebSearch();
        };
        host.cacheMode = [this] { return w_.OptionsModel().get().web.cacheMode; };
        tools_ = new WebListTools(page_, *list_, host);
        tools_->setParent(this);
        connect(tools_->FavoritesAction(), &QAction::triggered, this, [this] {
            std::vector<ResultRow> rows;
            for (int r : list_->SelectedRows()) rows.push_back(list_->Row(r));
            RunHook(w_.Hooks().addFavorites, 0, rows);
        });
    }

    ~WebSearchBinding() override {
        delete byFiles_;
        byFiles_ = nullptr;
        delete controller_;  // ends nothing: the window's close already ended the search
        controller_ = nullptr;
    }

    // The search button ends a running template search too.
    void Press() { byFiles_->PressSearchButton(TypedText(page_.QueryBox()->currentText())); }

    void End() {
        if (w_.Model().closing) {
            byFiles_->Close();
            controller_->Close();  // no stop sound while the window closes
        } else {
            byFiles_->FinishTemplateSearch();
            controller_->EndWebSearch();
        }
    }

    // Loads the data folder's Engines/WebSearch.grp again (the window's show).
    void ReloadTemplates() {
        LoadDataRootEngines(templates_, w_.Model().dirs.ProgramDir);
        templates_.SetSearchMode(modes_->Current());
        QPushButton *go = page_.TemplateButton();
        go->setEnabled(templates_.Count() > 0);
        std::string tip = templates_.Count() > 0
                              ? "Search with the " + std::to_string(templates_.Count()) + " engines of Engines/WebSearch.grp"
                              : "No engine definitions in Engines/WebSearch.grp";
        for (const auto &note : templates_.Notes()) tip += "\n" + note;
        go->setToolTip(DisplayText(tip));
    }

private:
    // The engine status panel, the status bar's text and the gauge follow the status model
    // of the search that runs (or ran last): the built-in engines' or the template engines'.
    void BindEngineStatus() {
        QTreeView *v = page_.EngineStatusView();
        std::array<QIcon, kEngineStateCount> icons;
        const QColor colours[kEngineStateCount] = {QColor(150, 150, 150), QColor(40, 110, 220), QColor(30, 150, 60),
                                                   QColor(205, 40, 40), QColor(230, 140, 0), QColor(210, 210, 210)};
        for (int i = 0; i < kEngineStateCount; ++i) {
            QPixmap dot(12, 12);
            dot.fill(Qt::transparent);
            QPainter p(&dot);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(colours[i].darker(130));
            p.setBrush(i == int(EngineState::Off) ? QBrush(Qt::NoBrush) : QBrush(colours[i]));
            p.drawEllipse(1, 1, 10, 10);
            icons[size_t(i)] = QIcon(dot);
        }
        controller_->Status().SetStateIcons(icons);
        byFiles_->Status().SetStateIcons(icons);
        ShowStatusOf(&controller_->Status());
        connect(controller_, &WebSearchController::searchStarted, this, [this] { ShowStatusOf(&controller_->Status()); });
        connect(byFiles_, &TemplateSearchController::searchStarted, this, [this] { ShowStatusOf(&byFiles_->Status()); });
        for (EngineStatusModel *m : {&controller_->Status(), &byFiles_->Status()})
            connect(m, &EngineStatusModel::statusChanged, this, [this, m] {
                if (m == shown_) RefreshStatus();
            });
        auto ended = [this] { RefreshStatus(); };
        connect(controller_, &WebSearchController::searchEnded, this, ended);
        connect(byFiles_, &TemplateSearchController::searchEnded, this, ended);
        connect(list_, &ResultListModel::listChanged, this, [this] {
            if (byFiles_->AnySearchRuns()) RefreshStatus();
        });

        page_.SetEngineStatusShown(w_.OptionsModel().get().showEngineStatus);
        connect(&page_, &WebPage::engineStatusToggled, this, [this](bool on) {
            Options o = w_.OptionsModel().get();
            o.showEngineStatus = on;
            w_.OptionsModel().set(o);
        });
        connect(&w_.OptionsModel(), &OptionsHolder::changed, this,
                [this] { page_.SetEngineStatusShown(w_.OptionsModel().get().showEngineStatus); });
        // The time of engines still at work moves on.
        clock_.setInterval(250);
        connect(&clock_, &QTimer::timeout, this, [this] { page_.EngineStatusView()->viewport()->update(); });
        (void)v;
    }

    void ShowStatusOf(EngineStatusModel *m) {
        shown_ = m;
        QTreeView *v = page_.EngineStatusView();
        if (v->model() != m) {
            v->setModel(m);
            QHeaderView *h = v->header();
            h->setStretchLastSection(true);
            const int em = v->fontMetrics().horizontalAdvance('M');
            v->setColumnWidth(EngineStatusModel::ColName, em * 11);
            v->setColumnWidth(EngineStatusModel::ColState, em * 5);
            v->setColumnWidth(EngineStatusModel::ColRows, em * 4);
            v->setColumnWidth(EngineStatusModel::ColPages, em * 4);
            v->setColumnWidth(EngineStatusModel::ColTime, em * 4);
        }
        RefreshStatus();
    }

    void RefreshStatus() {
        if (!shown_) return;
        const bool running = byFiles_->AnySearchRuns();
        int sites = 0;
        for (const auto &r : list_->Rows()) sites += !r.caption.empty();
        const int taking = shown_->Taking(), finished = shown_->Finished();
        int failed = 0;
        for (const auto &e : shown_->Rows()) failed += e.state == EngineState::Failed;
        std::string header = "Engines";
        if (taking > 0) {
            header += ": " + std::to_string(finished) + " of " + std::to_string(taking) + " done";
            if (failed) header += ", " + std::to_string(failed) + " failed";
        }
        page_.EngineToggle()->setText(QString::fromStdString(header));
        if (taking > 0 || shown_->Ended())
            w_.SearchStatus()->setText(QString::fromStdString(SearchStatusText(*shown_, running, sites)));
        w_.SetGaugeProgress(running ? finished : 0, running ? taking : 0);
        if (running && !clock_.isActive()) clock_.start();
        if (!running) {
            clock_.stop();
            page_.EngineStatusView()->viewport()->update();
        }
    }

    // Through the list tools, which refuse addresses that are unsafe to open.
    void OpenSelected() {
        if (tools_) tools_->OpenSelected();
    }

    std::string Message(const std::string &english) const {
        static const std::pair<const char *, Msg> kKnown[] = {
            {"You have not typed a search string yet\n\nSearch not started", Msg::NoSearchString},
            {"Nothing found for", Msg::NothingFoundFor},
            {"Unable to start due to memory allocation problems", Msg::NoMemory},
            {"Stop", Msg::Stop},
            {"Search", Msg::Search},
        };
        for (const auto &[text, id] : kKnown)
            if (english == text) {
                const std::string &t = w_.Model().messages.Text(id);
                return t.empty() ? english : t;
            }
        return english;
    }

    TMain &w_;
    WebPage &page_;
    std::vector<EngineDescriptor> table_;
    ResultListModel *list_;
    SearchModeModel *modes_;
    CookieStore cookies_;
    WebSearchController *controller_ = nullptr;
    TemplateEngineTable templates_;
    TemplateSearchController *byFiles_ = nullptr;
    WebListTools *tools_ = nullptr;
    EngineStatusModel *shown_ = nullptr;
    QTimer clock_;
};

}  // namespace

void BindWebSearch(TMain &window) {
    if (!window.Web()) return;
    auto *b = new WebSearchBinding(window);
    ShellHooks &h = window.Hooks();
    h.pressWebSearch = [b] { b->Press(); };
    h.endWebSearch = [b] { b->End(); };
    h.reloadTemplateEngines = [b] { b->ReloadTemplates(); };
}

}  // namespace qm
