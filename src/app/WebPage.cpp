#include "app/WebPage.h"

#include <QSignalBlocker>

#include "app/Dialogs.h"

#include <QActionGroup>
#include <QEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QToolButton>
#include <QTreeView>

#include <algorithm>

namespace qm {

namespace {

// Reports Enter in the query box's line edit without swallowing it.
class EnterWatcher : public QObject {
public:
    EnterWatcher(QObject *parent, std::function<void()> fn) : QObject(parent), fn_(std::move(fn)) {}
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::KeyPress) {
            auto *k = static_cast<QKeyEvent *>(event);
            if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
                fn_();
                return true;
            }
        }
        return false;
    }

private:
    std::function<void()> fn_;
};

}  // namespace

WebPage::WebPage(const MessageTable &messages, QWidget *parent) : FeaturePage(PageId::Web, parent) {
    auto *body = BodyLayout();

    // Search bar, centred in its row.
    searchBar_ = new QWidget(Body());
    searchBar_->setObjectName("PNL_WEB");
    auto *bar = new QHBoxLayout(searchBar_);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(6);
    queryBox_ = new QComboBox(searchBar_);
    queryBox_->setObjectName("CB_WEB");
    queryBox_->setEditable(true);
    queryBox_->setInsertPolicy(QComboBox::NoInsert);
    queryBox_->setMinimumWidth(380);
    queryBox_->setMaxVisibleItems(20);
    queryBox_->lineEdit()->setPlaceholderText("Type what you are looking for");
    searchButton_ = new QPushButton(Shown(messages.Text(Msg::Search)), searchBar_);
    searchButton_->setObjectName("BT_WEB");
    searchButton_->setMinimumWidth(90);
    searchButton_->setDefault(false);
    searchButton_->setAutoDefault(false);
    modeButton_ = new QToolButton(searchBar_);
    modeButton_->setObjectName("BT_WEB_OPT");
    modeButton_->setToolTip("Search mode");
    modeButton_->setPopupMode(QToolButton::InstantPopup);
    modeButton_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    modeMenu_ = new QMenu(modeButton_);
    modeMenu_->setObjectName("POP_MODE");
    auto *modeGroup = new QActionGroup(modeMenu_);
    const char *modes[] = {"All Keywords", "Any word", "Exact phrase", "Boolean search"};
    for (int i = 0; i < 4; ++i) {
        QAction *a = modeMenu_->addAction(modes[i]);
        a->setCheckable(true);
        a->setData(i);
        modeGroup->addAction(a);
        modeActions_[static_cast<size_t>(i)] = a;
    }
    modeActions_[0]->setChecked(true);
    modeButton_->setMenu(modeMenu_);
    // The button names the mode in use.
    modeButton_->setText(modeActions_[0]->text());
    connect(modeGroup, &QActionGroup::triggered, this, [this](QAction *a) { modeButton_->setText(a->text()); });
    modeButton_->setMinimumWidth(modeButton_->fontMetrics().horizontalAdvance("Boolean search") + 28);
    // The search over the engines described by files (Engines/WebSearch.grp).
    templateButton_ = new QPushButton("GO!!!", searchBar_);
    templateButton_->setObjectName("BT_WEBG");
    templateButton_->setToolTip("Search with the engines described in Engines/WebSearch.grp");
    templateButton_->setAutoDefault(false);
    bar->addWidget(queryBox_, 1);
    bar->addWidget(searchButton_);
    bar->addWidget(modeButton_);
    bar->addWidget(templateButton_);
    searchBar_->setMaximumWidth(860);
    body->addWidget(searchBar_, 0, Qt::AlignHCenter);
    searchBar_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    connect(searchButton_, &QPushButton::clicked, this, &WebPage::searchRequested);
    connect(templateButton_, &QPushButton::clicked, this, &WebPage::templateSearchRequested);
    // Typed keys reach the focused combo box, which hands them to its line edit without
    // the line edit's filters: both are watched.
    auto *enter = new EnterWatcher(this, [this] { emit enterInQueryBox(); });
    queryBox_->installEventFilter(enter);
    queryBox_->lineEdit()->installEventFilter(enter);

    // Result list.
    resultList_ = new QTreeView(Body());
    resultList_->setObjectName("LV_WEB");
    resultList_->setRootIsDecorated(false);
    resultList_->setUniformRowHeights(true);
    resultList_->setAlternatingRowColors(true);
    resultList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    resultList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    resultList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    resultList_->setContextMenuPolicy(Qt::CustomContextMenu);
    defaultModel_ = new QStandardItemModel(0, ColumnCount, this);
    defaultModel_->setHorizontalHeaderLabels(
        {"", Shown(messages.Text(Msg::Site)), "Location", "Source", "Description", "URL"});
    resultList_->setModel(defaultModel_);
    ApplyColumnLayout();
    resultList_->viewport()->installEventFilter(this);
    body->addWidget(resultList_, 1);

    // In-list filter bar, centred, hidden while the list is empty.
    filterBar_ = new QWidget(Body());
    filterBar_->setObjectName("PNL_WEBIN");
    auto *fb = new QHBoxLayout(filterBar_);
    fb->setContentsMargins(0, 0, 0, 0);
    fb->setSpacing(6);
    filterModeLabel_ = new ClickLabel("Search in list :", filterBar_);
    filterModeLabel_->setObjectName("LBL_WEBIN_0");
    filterModeLabel_->setCursor(Qt::PointingHandCursor);
    filterModeLabel_->setStyleSheet("color: #1d4f91; text-decoration: underline;");
    filterModeMenu_ = new QMenu(filterModeLabel_);
    filterModeMenu_->setObjectName("POP_IN");
    auto *filterGroup = new QActionGroup(filterModeMenu_);
    const char *filters[] = {"Search ALL matches in the list", "Search ANY matches in the list",
                             "Search EXACT match in the list"};
    for (int i = 0; i < 3; ++i) {
        QAction *a = filterModeMenu_->addAction(filters[i]);
        a->setCheckable(true);
        a->setData(i);
        filterGroup->addAction(a);
        filterActions_[static_cast<size_t>(i)] = a;
    }
    filterActions_[0]->setChecked(true);
    connect(filterModeLabel_, &ClickLabel::clicked, this, [this] { PopupAtCursor(filterModeMenu_); });
    filterBox_ = new QLineEdit(filterBar_);
    filterBox_->setObjectName("ED_WEBIN");
    filterBox_->setFixedWidth(200);
    filterCount_ = new ClickLabel("0 Found", filterBar_);
    filterCount_->setObjectName("LBL_WEBIN_COUNT");
    filterCount_->setToolTip("Click here to put find match(es) at the top of the list");
    filterCount_->setCursor(Qt::PointingHandCursor);
    filterCount_->setMinimumWidth(70);
    fb->addWidget(filterModeLabel_);
    fb->addWidget(filterBox_);
    fb->addWidget(filterCount_);
    body->addWidget(filterBar_, 0, Qt::AlignHCenter);
    filterBar_->hide();

    // Hint memo: the selected result's description.
    // Engine status: a header line, and under it the table it shows or hides.
    engineToggle_ = new QToolButton(Body());
    engineToggle_->setObjectName("PNL_WEBENGINES");
    engineToggle_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    engineToggle_->setAutoRaise(true);
    engineToggle_->setCheckable(true);
    engineToggle_->setText("Engines");
    engineToggle_->setToolTip("Show or hide what each engine did");
    body->addWidget(engineToggle_, 0, Qt::AlignLeft);
    engineView_ = new QTreeView(Body());
    engineView_->setObjectName("LV_WEBENGINES");
    engineView_->setRootIsDecorated(false);
    engineView_->setUniformRowHeights(true);
    engineView_->setAlternatingRowColors(true);
    engineView_->setSelectionMode(QAbstractItemView::NoSelection);
    engineView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    engineView_->setFocusPolicy(Qt::NoFocus);
    engineView_->setFixedHeight(engineView_->fontMetrics().height() * 7 + 8);
    body->addWidget(engineView_);
    connect(engineToggle_, &QToolButton::toggled, this, [this](bool on) {
        SetEngineStatusShown(on);
        emit engineStatusToggled(on);
    });
    SetEngineStatusShown(false);

    hintMemo_ = new QPlainTextEdit(Body());
    hintMemo_->setObjectName("MM_WEB");
    hintMemo_->setReadOnly(true);
    hintMemo_->setFixedHeight(64);
    body->addWidget(hintMemo_);

    SetFocusTarget(queryBox_);
}

namespace {
constexpr int kLocationWidth = 155;
}

void WebPage::SetEngineStatusShown(bool shown) {
    {
        const QSignalBlocker quiet(engineToggle_);
        engineToggle_->setChecked(shown);
    }
    engineToggle_->setArrowType(shown ? Qt::DownArrow : Qt::RightArrow);
    engineView_->setVisible(shown);
}

void WebPage::ApplyColumnLayout() {
    QHeaderView *h = resultList_->header();
    h->setStretchLastSection(false);
    h->setSectionsMovable(false);
    h->setSectionResizeMode(QHeaderView::Interactive);
    resultList_->setColumnWidth(ColNumber, 34);
    resultList_->setColumnWidth(ColSite, 243);
    resultList_->setColumnWidth(ColLocation, kLocationWidth);
    resultList_->setColumnWidth(ColSource, 85);
    resultList_->setColumnHidden(ColDescription, true);
    resultList_->setColumnHidden(ColUrl, true);
    if (resultList_->model() && resultList_->model()->columnCount() > ColSource) {
        resultList_->model()->setHeaderData(ColSource, Qt::Horizontal,
                                            int(Qt::AlignHCenter | Qt::AlignVCenter),
                                            Qt::TextAlignmentRole);
        h->setSectionResizeMode(ColSite, QHeaderView::Stretch);
    }
    FitLocationColumn();
}

void WebPage::FitLocationColumn() {
    const int fixed = resultList_->columnWidth(ColNumber) + resultList_->columnWidth(ColSource);
    const int shared = resultList_->viewport()->width() - fixed;
    resultList_->setColumnWidth(ColLocation, std::max(kLocationWidth, shared / 3));
}

bool WebPage::eventFilter(QObject *watched, QEvent *event) {
    if (watched == resultList_->viewport() && event->type() == QEvent::Resize) FitLocationColumn();
    return FeaturePage::eventFilter(watched, event);
}

}  // namespace qm
