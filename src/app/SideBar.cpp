#include "app/SideBar.h"

#include "app/Pages.h"
#include "app/ShellModel.h"

#include <QPainter>
#include <QStyledItemDelegate>

namespace qm {

namespace {

constexpr int kSeparatorRole = Qt::UserRole + 1;

class SideBarDelegate : public QStyledItemDelegate {
public:
    SideBarDelegate(SideBar *bar, const QColor *text) : QStyledItemDelegate(bar), text_(text) {}

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override {
        if (index.data(kSeparatorRole).toBool()) return {option.rect.width(), 12};
        QFontMetrics fm(option.font);
        return {fm.horizontalAdvance(index.data().toString()) + 28, fm.height() + 14};
    }

    void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override {
        p->save();
        p->setRenderHint(QPainter::Antialiasing);
        QRect r = option.rect;
        if (index.data(kSeparatorRole).toBool()) {
            QColor line = *text_;
            line.setAlpha(110);
            p->setPen(QPen(line, 1));
            int y = r.center().y();
            p->drawLine(r.left() + 12, y, r.right() - 12, y);
            p->restore();
            return;
        }
        bool selected = option.state & QStyle::State_Selected;
        bool hover = option.state & QStyle::State_MouseOver;
        if (selected || hover) {
            QColor fill(255, 255, 255, selected ? 70 : 30);
            p->setPen(Qt::NoPen);
            p->setBrush(fill);
            p->drawRoundedRect(r.adjusted(4, 2, -4, -2), 5, 5);
        }
        if (selected) {
            p->setBrush(*text_);
            p->drawRoundedRect(QRect(r.left() + 4, r.top() + 6, 3, r.height() - 12), 1, 1);
        }
        QFont f = option.font;
        f.setBold(selected);
        p->setFont(f);
        p->setPen(*text_);
        p->drawText(r.adjusted(16, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft, index.data().toString());
        p->restore();
    }

private:
    const QColor *text_;
};

}  // namespace

SideBar::SideBar(QWidget *parent)
    : QListWidget(parent), begin_(9, 74, 130), end_(150, 202, 241), text_(Qt::white) {
    setObjectName("LVB_SIDEBAR");
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setItemDelegate(new SideBarDelegate(this, &text_));
    viewport()->setAutoFillBackground(false);
    QFont f = font();
    f.setPointSizeF(f.pointSizeF() + 1);
    setFont(f);

    for (const auto &e : SideBarEntries()) {
        auto *item = new QListWidgetItem(QString::fromUtf8(e.caption), this);
        if (e.IsSeparator()) {
            item->setData(kSeparatorRole, true);
            item->setFlags(Qt::NoItemFlags);
        } else {
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        }
    }
    auto chosen = [this](QListWidgetItem *item) {
        if (!item || item->data(kSeparatorRole).toBool()) return;
        emit entryChosen(row(item));
    };
    connect(this, &QListWidget::itemClicked, this, chosen);
    connect(this, &QListWidget::itemActivated, this, chosen);
}

void SideBar::SetColors(QColor begin, QColor end, QColor text) {
    begin_ = begin;
    end_ = end;
    text_ = text;
    viewport()->update();
}

void SideBar::Highlight(int position) {
    if (position < 0 || position >= count() || item(position)->data(kSeparatorRole).toBool()) {
        clearSelection();
        setCurrentRow(-1, QItemSelectionModel::Clear);
        return;
    }
    setCurrentRow(position, QItemSelectionModel::ClearAndSelect);
}

void SideBar::SetCaption(int position, const QString &caption) {
    if (position < 0 || position >= count() || item(position)->data(kSeparatorRole).toBool()) return;
    item(position)->setText(caption);
}

int SideBar::PreferredWidth() const {
    QFontMetrics fm(font());
    int w = 0;
    for (int i = 0; i < count(); ++i) w = std::max(w, fm.horizontalAdvance(item(i)->text()));
    return w + 44;
}

void SideBar::paintEvent(QPaintEvent *event) {
    {
        QPainter p(viewport());
        QLinearGradient g(0, 0, 0, viewport()->height());
        g.setColorAt(0, begin_);
        g.setColorAt(1, end_);
        p.fillRect(viewport()->rect(), g);
    }
    QListWidget::paintEvent(event);
}

}  // namespace qm
