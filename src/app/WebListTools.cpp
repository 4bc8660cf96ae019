#include "app/WebListTools.h"

#include "app/WidgetEvents.h"

#include "app/WebPage.h"
#include "engines/web/UrlChecker.h"
#include "engines/web/WebEngineTable.h"
#include "search/Export.h"
#include "search/InListFilterModel.h"
#include "search/ResultCache.h"
#include "search/ResultListModel.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTreeView>

#include <cstdio>

namespace qm {

namespace {

// A check box and a 16-pixel icon; the icon alone.
constexpr int kVerifyWidening = 36;
constexpr int kIconRoom = 20;

FilterMode ModeOf(WebPage &page) {
    if (page.FilterModeAction(1)->isChecked()) return FilterMode::Any;
    if (page.FilterModeAction(2)->isChecked()) return FilterMode::Exact;
    return FilterMode::All;
}

std::vector<bool> SelectionFlags(const ResultListModel &list) {
    std::vector<bool> flags(size_t(list.Count()), false);
    for (int r : list.SelectedRows()) flags[size_t(r)] = true;
    return flags;
}

}  // namespace

WebListTools::WebListTools(WebPage &page, ResultListModel &list, WebListToolsHost host)
    : QObject(&page), page_(page), list_(list), host_(std::move(host)) {
    InstallVerifyIcons();
    // "<$ENGINE_URL>" of an exported page: the home page of the web engine of that name.
    if (ExportEngineHomes().empty()) SetExportEngineHomes(EngineHomesOf(BuildWebEngineTable()));

    // Filter bar.
    connect(page_.FilterBox(), &QLineEdit::textChanged, this, [this] { RunFilter(); });
    KeyActions::InstallFilterKeys(page_.FilterBox(), [this] { page_.FilterBox()->clear(); }, [this] { MoveMatchesToTop(); });
    for (int i = 0; i < 3; ++i)
        connect(page_.FilterModeAction(i), &QAction::triggered, this, [this] {
            page_.FilterBox()->clear();
            RunFilter();  // also when the box was already empty
        });
    connect(page_.FilterCount(), &ClickLabel::clicked, this, [this] { MoveMatchesToTop(); });

    // Verification.
    verification_ = std::make_unique<UrlVerification>(list_, HttpCheckClients(host_.configureClient));
    CloseWatcher::Install(page_.window(), this, [this] { verification_->Stop(); });
    connect(verification_.get(), &UrlVerification::runningChanged, this, [this](bool running) {
        if (host_.setVerifying) host_.setVerifying(running);
        page_.SearchButton()->setText(QString::fromStdString(Text(running ? "Stop" : "Search")));
        // Column 0 widens by the room of a check box and of the row icon it shows while the
        // check runs, so the row number stays readable. At the end it loses the check box's
        // room; it keeps the icon's while rows show the icons the check left.
        QTreeView *view = page_.ResultList();
        if (normalWidth_ < 0) normalWidth_ = view->columnWidth(WebPage::ColNumber);
        bool icons = false;
        for (const auto &row : list_.Rows()) icons = icons || row.image >= 0;
        view->setColumnWidth(WebPage::ColNumber, normalWidth_ + (running ? kVerifyWidening : icons ? kIconRoom : 0));
    });

    // Popup menu of the list, in its fixed order.
    popup_ = new QMenu(page_.ResultList());
    popup_->setObjectName("POP_WEB");
    open_ = popup_->addAction(QString::fromStdString(Text("Open selected site")), this, [this] { OpenSelected(); });
    popup_->addSeparator();
    popup_->addAction(QString::fromStdString(Text("View all search results as a WEB page")), this,
                      [this] { ViewAsWebPage(false); });
    popup_->addAction(QString::fromStdString(Text("View selected site(s) as a WEB page")), this,
                      [this] { ViewAsWebPage(true); });
    popup_->addSeparator();
    cut_ = popup_->addAction(QString::fromStdString(Text("Cut (Send to clipboard)")), this,
                             [this] { list_.CutSelectedToClipboard(); });
    popup_->addAction(QString::fromStdString(Text("Verify if selected site(s) still open")), this, [this] { Verify(); });
    popup_->addSeparator();
    popup_->addAction(QString::fromStdString(Text("Save site(s) to a file")), this, [this] { SaveToFile(); });
    popup_->addSeparator();
    favorites_ = popup_->addAction(QString::fromStdString(Text("Add selection to my favorites")));
    connect(page_.ResultList(), &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        popup_->popup(page_.ResultList()->viewport()->mapToGlobal(pos));
    });

    // Cache recall: typing in the query box or choosing from its history.
    connect(page_.QueryBox(), &QComboBox::editTextChanged, this,
            [this](const QString &text) { RecallCache(text.toUtf8().toStdString()); });
    connect(page_.QueryBox(), &QComboBox::activated, this,
            [this] { RecallCache(page_.QueryBox()->currentText().toUtf8().toStdString()); });
}

WebListTools::~WebListTools() = default;

std::string WebListTools::Text(const char *english) const {
    return host_.text ? host_.text(english) : std::string(english);
}

std::string WebListTools::CacheDir() const { return (host_.dataRoot ? host_.dataRoot() : std::string(".")) + "/Cache"; }

void WebListTools::RunFilter() {
    QByteArray typed = page_.FilterBox()->text().toUtf8();
    size_t count = ApplyInListFilter(list_, std::string_view(typed.constData(), size_t(typed.size())), ModeOf(page_));
    page_.FilterCount()->setText(QString::fromStdString(FilterCountText(count, Text("Found"))));
}

void WebListTools::MoveMatchesToTop() {
    switch (MoveSelectedToTop(list_, verification_->Running())) {
    case MoveToTopResult::Beep:
        QApplication::beep();
        break;
    case MoveToTopResult::Moved:
        page_.ResultList()->scrollToTop();
        break;
    case MoveToTopResult::Nothing:
        break;
    }
}

void WebListTools::OpenSelected() {
    std::string address = list_.SelectedAddress();
    // An address from a remote page never opens a local file or runs a script.
    if (address.empty() || !IsSafeToOpen(address)) return;
    if (host_.openInBrowser) host_.openInBrowser(LinkableAddress(address));
}

bool WebListTools::ViewAsWebPage(bool selectedOnly) {
    const std::string path = CacheDir() + "/WebView.htm";
    std::vector<bool> selected;
    if (selectedOnly) selected = SelectionFlags(list_);
    if (selectedOnly && selected.empty()) selected.assign(1, false);  // nothing selected: no row
    if (!ExportWebResultPage(host_.dataRoot ? host_.dataRoot() : std::string("."), list_.Rows(), path, selected)) {
        if (host_.alert) host_.alert(Text(kExportDiskError));
        return false;
    }
    if (QFileInfo::exists(QString::fromStdString(path)) && host_.openInBrowser)
        host_.openInBrowser("file://" + path);
    return true;
}

void WebListTools::SaveToFile() {
    std::string chosen;
    if (host_.askSaveFile) {
        chosen = host_.askSaveFile(saveDir_);
    } else {
        chosen = QFileDialog::getSaveFileName(page_.window(), QString(), QString::fromStdString(saveDir_),
                                              "HTML files (*.htm*);;All files (*)")
                     .toStdString();
    }
    if (chosen.empty()) return;
    saveDir_ = QFileInfo(QString::fromStdString(chosen)).absolutePath().toStdString();
    std::string path = WithHtmlExtension(chosen);
    std::remove(path.c_str());
    std::vector<bool> selected;
    if (!list_.SelectedRows().empty()) selected = SelectionFlags(list_);
    if (!ExportWebResultPage(host_.dataRoot ? host_.dataRoot() : std::string("."), list_.Rows(), path, selected) &&
        host_.alert)
        host_.alert(Text(kExportDiskError));
}

void WebListTools::Verify() {
    if (verification_->Start() == UrlVerification::StartResult::AlreadyRunning && host_.inform)
        host_.inform(Text(kVerifyAlreadyRunning));
}

void WebListTools::RecallCache(const std::string &boxText) {
    WebResultCache cache(CacheDir());
    WebResultCache::Hooks hooks;
    hooks.searching = host_.searching;
    hooks.endSearch = host_.endSearch;
    hooks.verifying = [this] { return verification_->Running(); };
    hooks.show = [this](std::vector<ResultRow> &&rows) { list_.ShowRows(std::move(rows)); };
    cache.OnQueryBoxChanged(boxText, CacheModeFromInt(host_.cacheMode ? host_.cacheMode() : 0), hooks);
}

}  // namespace qm
