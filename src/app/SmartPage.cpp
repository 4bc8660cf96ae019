#include "app/SmartPage.h"

#include <QActionGroup>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>

namespace qm {

SmartPage::SmartPage(QWidget *parent) : QWidget(parent) {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // Breadcrumbs on a white bar.
    auto *links = new QWidget(this);
    links->setObjectName("PNL_SMR_LNK");
    links->setAutoFillBackground(true);
    links->setStyleSheet("#PNL_SMR_LNK { background: white; }");
    auto *linkRow = new QHBoxLayout(links);
    linkRow->setContentsMargins(6, 3, 6, 3);
    linkRow->setSpacing(0);
    static const char *names[] = {"LBL_SMR_1", "LBL_SMR_2", "LBL_SMR_3"};
    for (int i = 0; i < 3; ++i) {
        auto *l = new ClickLabel(i == 0 ? QStringLiteral("Categories") : QString(), links);
        l->setObjectName(names[i]);
        l->setCursor(Qt::PointingHandCursor);
        l->setStyleSheet("color: #0645ad; text-decoration: underline;");
        crumbs_[size_t(i)] = l;
        linkRow->addWidget(l);
    }
    linkRow->addStretch(1);
    layout->addWidget(links);

    splitter_ = new QSplitter(Qt::Horizontal, this);
    categories_ = new QListView(splitter_);
    categories_->setObjectName("LVBSMR");
    categories_->setViewMode(QListView::ListMode);
    categories_->setIconSize(QSize(16, 16));
    categories_->setUniformItemSizes(true);
    categories_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    categories_->setStyleSheet(
        "#LVBSMR { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 white, stop:1 #5fb3b3); }");

    auto *right = new QWidget(splitter_);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(2);
    caption_ = new QLabel(QStringLiteral("Choose a category on the left panel"), right);
    caption_->setObjectName("PNL_SMR_TXT");
    caption_->setAlignment(Qt::AlignCenter);
    caption_->setStyleSheet("#PNL_SMR_TXT { background: #2f7f7f; color: white; font-weight: bold; padding: 4px; }");
    rightLayout->addWidget(caption_);

    results_ = new QTreeView(right);
    results_->setObjectName("LV_SMR");
    results_->setRootIsDecorated(false);
    results_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    results_->setSelectionBehavior(QAbstractItemView::SelectRows);
    results_->setContextMenuPolicy(Qt::CustomContextMenu);
    results_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rightLayout->addWidget(results_, 1);

    filterBar_ = new QWidget(right);
    filterBar_->setObjectName("PNL_SMRIN_BAR");
    auto *barLayout = new QVBoxLayout(filterBar_);
    barLayout->setContentsMargins(0, 0, 0, 0);
    hint_ = new QPlainTextEdit(filterBar_);
    hint_->setObjectName("MMSMRHINT");
    hint_->setReadOnly(true);
    hint_->setMaximumHeight(48);
    barLayout->addWidget(hint_);
    auto *centre = new QWidget(filterBar_);
    centre->setObjectName("PNL_SMRIN");
    auto *row = new QHBoxLayout(centre);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(1);
    filterLabel_ = new ClickLabel(QStringLiteral("Search in list :"), centre);
    filterLabel_->setObjectName("LBL_SMRIN_0");
    filterLabel_->setCursor(Qt::PointingHandCursor);
    row->addWidget(filterLabel_);
    filterBox_ = new QLineEdit(centre);
    filterBox_->setObjectName("ED_SMRIN");
    filterBox_->setMinimumWidth(200);
    row->addWidget(filterBox_);
    filterCount_ = new ClickLabel(QStringLiteral("0 Found"), centre);
    filterCount_->setObjectName("LBL_SMRIN");
    filterCount_->setMinimumWidth(70);
    row->addWidget(filterCount_);
    row->addStretch(1);
    barLayout->addWidget(centre);
    filterBar_->setVisible(false);
    rightLayout->addWidget(filterBar_);

    filterMenu_ = new QMenu(filterLabel_);
    filterMenu_->setObjectName("POP_SMRIN");
    auto *group = new QActionGroup(filterMenu_);
    static const char *modes[] = {"Search ALL matches in the list", "Search ANY matches in the list",
                                  "Search EXACT match in the list"};
    for (int i = 0; i < 3; ++i) {
        QAction *a = filterMenu_->addAction(QString::fromLatin1(modes[i]));
        a->setCheckable(true);
        a->setChecked(i == 0);
        group->addAction(a);
        filterModes_[size_t(i)] = a;
    }
    connect(filterLabel_, &ClickLabel::clicked, this,
            [this] { filterMenu_->popup(filterLabel_->mapToGlobal(QPoint(0, filterLabel_->height()))); });

    splitter_->addWidget(categories_);
    splitter_->addWidget(right);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({220, 600});
    layout->addWidget(splitter_, 1);

    auto *low = new QWidget(this);
    low->setObjectName("PNL_SMR_LOW");
    auto *lowRow = new QHBoxLayout(low);
    lowRow->setContentsMargins(0, 3, 0, 3);
    lowRow->addStretch(1);
    button_ = new QPushButton(low);
    button_->setObjectName("BT_SMR");
    button_->setMinimumWidth(160);
    lowRow->addWidget(button_);
    lowRow->addStretch(1);
    layout->addWidget(low);

    popup_ = new QMenu(results_);
    popup_->setObjectName("POP_MSR");
}

void SmartPage::ApplyColumnLayout() {
    QHeaderView *h = results_->header();
    h->setStretchLastSection(false);
    results_->setColumnWidth(ColNumber, 40);
    results_->setColumnWidth(ColSite, 260);
    results_->setColumnWidth(ColLocation, 260);
    // "Cost to advertiser", "Description" and "URL" have no width.
    for (int c : {int(ColCost), int(ColDescription), int(ColUrl)}) results_->setColumnHidden(c, true);
}

void SmartPage::PlaceCrumbs() {
    // The subcategory breadcrumb keeps 20 pixels from the top's one.
    crumbs_[1]->setContentsMargins(12, 0, 0, 0);
    crumbs_[2]->setContentsMargins(crumbs_[2]->text().isEmpty() ? 0 : 20, 0, 0, 0);
}

}  // namespace qm
