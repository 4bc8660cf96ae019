#include "app/DailyNewsPage.h"

#include <QAction>
#include <QButtonGroup>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qm {

namespace {

QIcon Painted(const std::function<void(QPainter &)> &paint) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    return QIcon(pm);
}

// A small flag of horizontal or vertical bands.
QIcon Flag(std::initializer_list<QColor> bands, bool vertical) {
    QPixmap pm(24, 16);
    QPainter p(&pm);
    const int n = int(bands.size());
    int i = 0;
    for (const QColor &c : bands) {
        if (vertical)
            p.fillRect(QRect(i * 24 / n, 0, 24 / n + 1, 16), c);
        else
            p.fillRect(QRect(0, i * 16 / n, 24, 16 / n + 1), c);
        ++i;
    }
    p.setPen(Qt::darkGray);
    p.drawRect(0, 0, 23, 15);
    return QIcon(pm);
}

}  // namespace

QIcon DailyNewsPanel::StateIcon(int image) {
    if (image == 1)
        return Painted([](QPainter &p) {
            p.setBrush(QColor(240, 180, 0));
            p.setPen(Qt::darkYellow);
            p.drawEllipse(2, 2, 12, 12);
            p.setPen(QPen(Qt::black, 1.5));
            p.drawLine(8, 8, 8, 4);
            p.drawLine(8, 8, 11, 8);
        });
    if (image == 2)
        return Painted([](QPainter &p) {
            p.setPen(QPen(QColor(0, 140, 0), 2.5));
            p.drawLine(3, 8, 7, 12);
            p.drawLine(7, 12, 13, 3);
        });
    return {};
}

QIcon DailyNewsPanel::HeadlineIcon() {
    return Painted([](QPainter &p) {
        p.setPen(Qt::darkGray);
        p.setBrush(Qt::white);
        p.drawRect(2, 1, 11, 14);
        p.setPen(QColor(0, 0, 160));
        for (int y = 4; y <= 12; y += 3) p.drawLine(4, y, 11, y);
    });
}

DailyNewsPanel::DailyNewsPanel(QWidget *parent) : QWidget(parent) {
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(2);

    date_ = new QLabel(this);
    date_->setObjectName("PNL_CNN_DATE");
    date_->setAutoFillBackground(true);
    date_->setStyleSheet("QLabel { background: #00005a; color: white; font-weight: bold; padding: 3px; }");
    outer->addWidget(date_);

    splitter_ = new QSplitter(Qt::Horizontal, this);
    outer->addWidget(splitter_, 1);

    // Left: the flags, the tree, the update buttons.
    auto *left = new QWidget(splitter_);
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(2, 2, 2, 2);
    auto *flags = new QHBoxLayout;
    auto *group = new QButtonGroup(this);
    group->setExclusive(true);
    const char *names[5] = {"BT_DNC_US", "BT_DNC_FR", "BT_DNC_DE", "BT_DNC_ES", "BT_DNC_NL"};
    const char *tips[5] = {"English", "Fran\xC3\xA7" "ais", "Deutsch", "Espa\xC3\xB1ol", "Nederlands"};
    const QIcon icons[5] = {
        Flag({QColor(178, 34, 52), Qt::white, QColor(178, 34, 52), Qt::white, QColor(60, 59, 110)}, false),
        Flag({QColor(0, 35, 149), Qt::white, QColor(237, 41, 57)}, true),
        Flag({Qt::black, QColor(221, 0, 0), QColor(255, 206, 0)}, false),
        Flag({QColor(170, 21, 27), QColor(241, 191, 0), QColor(170, 21, 27)}, false),
        Flag({QColor(174, 28, 40), Qt::white, QColor(33, 70, 139)}, false)};
    for (int g = 0; g < 5; ++g) {
        auto *b = new QToolButton(left);
        b->setObjectName(names[g]);
        b->setCheckable(true);
        b->setAutoRaise(true);
        b->setIcon(icons[g]);
        b->setIconSize(QSize(24, 16));
        b->setToolTip(QString::fromUtf8(tips[g]));
        group->addButton(b, g);
        groups_[size_t(g)] = b;
    }
    // Left to right as on the tab: French, English, German, Spanish, Dutch.
    for (int g : {1, 0, 2, 3, 4}) flags->addWidget(groups_[size_t(g)]);
    flags->addStretch(1);
    groups_[0]->setChecked(true);
    leftLayout->addLayout(flags);

    tree_ = new QTreeWidget(left);
    tree_->setObjectName("TV");
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree_->setExpandsOnDoubleClick(false);
    leftLayout->addWidget(tree_, 1);
    upOne_ = new QPushButton(left);
    upOne_->setObjectName("BT_DNC_UPONE");
    upOne_->setEnabled(false);
    upAll_ = new QPushButton(left);
    upAll_->setObjectName("BT_DNC_UPALL");
    leftLayout->addWidget(upOne_);
    leftLayout->addWidget(upAll_);

    // Right: the headlines, the favorites button, the source label.
    auto *right = new QWidget(splitter_);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(2, 2, 2, 2);
    list_ = new QTreeWidget(right);
    list_->setObjectName("LV_CNN");
    list_->setHeaderHidden(true);
    list_->setRootIsDecorated(false);
    list_->setColumnCount(ColumnCount);
    list_->setHeaderLabels({"", "Information", "URL", "Source", ""});
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setUniformRowHeights(true);
    list_->header()->setStretchLastSection(false);
    list_->setColumnWidth(ColIcon, 18);
    list_->setColumnWidth(ColInformation, 600);
    for (int c : {ColUrl, ColSource, ColTag}) list_->setColumnHidden(c, true);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    list_->installEventFilter(this);
    rightLayout->addWidget(list_, 1);
    auto *bottom = new QHBoxLayout;
    bottom->setContentsMargins(0, 0, 4, 0);
    fav_ = new QPushButton(right);
    fav_->setObjectName("BT_DNC_FAV");
    fav_->setText("Add to my favorites");
    fav_->setEnabled(false);
    bottom->addWidget(fav_);
    bottom->addStretch(1);
    source_ = new QLabel(right);
    source_->setObjectName("LBL_DNC");
    QFont underlined = source_->font();
    underlined.setUnderline(true);
    source_->setFont(underlined);
    QPalette blue = source_->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 139));
    source_->setPalette(blue);
    source_->setCursor(Qt::PointingHandCursor);
    source_->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Preferred);
    source_->setTextFormat(Qt::PlainText);
    source_->installEventFilter(this);
    bottom->addWidget(source_);
    rightLayout->addLayout(bottom);

    splitter_->addWidget(left);
    splitter_->addWidget(right);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({230, 600});

    popup_ = new QMenu(this);
    popup_->setObjectName("POP_DNC");
    read_ = popup_->addAction("Read this information");
    popup_->addSeparator();
    cut_ = popup_->addAction("Cut (Send to clipboard)");
    popup_->addSeparator()->setVisible(false);
    add_ = popup_->addAction("Add to my favorites");
}

bool DailyNewsPanel::eventFilter(QObject *watched, QEvent *event) {
    if (watched == source_ && event->type() == QEvent::MouseButtonRelease) {
        emit sourceClicked();
        return true;
    }
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            emit enterInHeadlines();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace qm
