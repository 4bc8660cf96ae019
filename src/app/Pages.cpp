#include "app/Pages.h"

#include "toolkit/DisplayText.h"

#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace qm {

QString Shown(const std::string &text) { return DisplayText(text); }

void ClickLabel::mouseReleaseEvent(QMouseEvent *event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

FeaturePage::FeaturePage(PageId id, QWidget *parent) : QWidget(parent), id_(id) {
    setObjectName(QString("TS_") + PageName(id));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    help_ = new QLabel(this);
    help_->setObjectName("PNL_HELP");
    help_->setTextFormat(Qt::PlainText);
    help_->setMinimumHeight(26);
    help_->setContentsMargins(10, 3, 10, 3);
    help_->setStyleSheet("QLabel#PNL_HELP { background: #fbf4d5; color: #4a3f12;"
                         " border-bottom: 1px solid #d9cc92; }");
    help_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    layout->addWidget(help_);

    body_ = new QWidget(this);
    bodyLayout_ = new QVBoxLayout(body_);
    bodyLayout_->setContentsMargins(10, 8, 10, 8);
    bodyLayout_->setSpacing(6);
    layout->addWidget(body_, 1);
}

DebugPage::DebugPage(QWidget *parent) : FeaturePage(PageId::Debug, parent) {
    HelpPanel()->setText("DBG");
    memo_ = new QPlainTextEdit(Body());
    memo_->setObjectName("MM_DBG");
    memo_->setReadOnly(true);
    BodyLayout()->addWidget(memo_);
}

}  // namespace qm
