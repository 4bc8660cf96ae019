#include "app/CurrencyPage.h"

#include "settings/KeyValue.h"
#include "toolkit/DisplayText.h"
#include "tools/Currency.h"
#include "tools/CurrencyConverter.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>

namespace qm {

CurrencyPage::CurrencyPage(CurrencyConverter &converter, QWidget *parent) : QWidget(parent), conv_(converter) {
    setObjectName("TS_CONV_MONEY_BODY");
    panel_ = new QWidget(this);
    panel_->setObjectName("PNL_DOL");
    panel_->setAttribute(Qt::WA_StyledBackground, true);
    panel_->setStyleSheet("QWidget#PNL_DOL { background: #f4f7fb; border: 1px solid #b7c4d6; border-radius: 6px; }");
    auto *grid = new QGridLayout(panel_);
    grid->setContentsMargins(18, 14, 18, 14);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);

    fromLabel_ = new QLabel("From", panel_);
    fromLabel_->setObjectName("LBL_DOL_FROM");
    toLabel_ = new QLabel("To", panel_);
    toLabel_->setObjectName("LBL_DOL_TO");
    amountLabel_ = new QLabel("Amount", panel_);
    amountLabel_->setObjectName("LBL_DOL_QTY");
    auto list = [this](const char *name) {
        auto *box = new QComboBox(panel_);
        box->setObjectName(name);
        box->setEditable(false);
        box->setMaxVisibleItems(25);
        box->setMinimumWidth(220);
        for (const auto &c : CurrencyTable()) box->addItem(DisplayText(c.name));
        return box;
    };
    from_ = list("CB_DOL_1");
    to_ = list("CB_DOL_2");
    flip_ = new QToolButton(panel_);
    flip_->setObjectName("BT_DOL_FLIP");
    flip_->setText(QString::fromUtf8("\u21c4"));
    flip_->setToolTip("Flip currencies");
    amount_ = new QLineEdit(panel_);
    amount_->setObjectName("ED_DOL");
    amount_->installEventFilter(this);
    convert_ = new QPushButton("Convert currency", panel_);
    convert_->setObjectName("BT_DOL");
    result_ = new QLabel(panel_);
    result_->setObjectName("PNL_DOL_TXT");
    result_->setAlignment(Qt::AlignCenter);
    result_->setTextFormat(Qt::PlainText);
    QFont big = result_->font();
    big.setPointSizeF(big.pointSizeF() * 2.2);
    big.setBold(true);
    result_->setFont(big);
    result_->setMinimumHeight(56);
    result_->setStyleSheet("QLabel#PNL_DOL_TXT { background: white; color: #1d4f91; border: 1px solid #b7c4d6; }");
    info_ = new QLabel("Provided by", panel_);
    info_->setObjectName("LBL_DOL_INFO");
    info_->setCursor(Qt::PointingHandCursor);
    info_->setAlignment(Qt::AlignCenter);

    grid->addWidget(fromLabel_, 0, 0);
    grid->addWidget(toLabel_, 0, 2);
    grid->addWidget(from_, 1, 0);
    grid->addWidget(flip_, 1, 1);
    grid->addWidget(to_, 1, 2);
    grid->addWidget(amountLabel_, 2, 0);
    grid->addWidget(amount_, 3, 0);
    grid->addWidget(convert_, 3, 2);
    grid->addWidget(result_, 4, 0, 1, 3);
    grid->addWidget(info_, 5, 0, 1, 3);
    panel_->adjustSize();

    connect(from_, &QComboBox::currentIndexChanged, this, [this](int i) { conv_.SetFrom(i); });
    connect(to_, &QComboBox::currentIndexChanged, this, [this](int i) { conv_.SetTo(i); });
    connect(amount_, &QLineEdit::textChanged, this, [this](const QString &t) { conv_.SetAmount(TypedText(t)); });
    connect(convert_, &QPushButton::clicked, this, [this] { conv_.Start(); });
    connect(flip_, &QToolButton::clicked, this, [this] { conv_.Flip(); });
    connect(&conv_, &CurrencyConverter::shownChanged, this,
            [this] { result_->setText(DisplayText(conv_.Shown())); });
    connect(&conv_, &CurrencyConverter::selectionChanged, this, [this] {
        const QSignalBlocker a(from_), b(to_);
        from_->setCurrentIndex(conv_.From());
        to_->setCurrentIndex(conv_.To());
    });
    connect(&conv_, &CurrencyConverter::busyChanged, this, [this](bool busy) { convert_->setEnabled(!busy); });
    ShowConverter();
}

void CurrencyPage::ShowConverter() {
    const QSignalBlocker a(from_), b(to_), c(amount_);
    from_->setCurrentIndex(conv_.From());
    to_->setCurrentIndex(conv_.To());
    amount_->setText(DisplayText(conv_.Amount()));
    result_->setText(DisplayText(conv_.Shown()));
    convert_->setEnabled(!conv_.Busy());
}

bool CurrencyPage::eventFilter(QObject *watched, QEvent *event) {
    // ED_DOLKeyUp: Enter converts unless a conversion runs.
    if (watched == amount_ && event->type() == QEvent::KeyRelease) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (!key->isAutoRepeat() && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            if (!conv_.Busy()) conv_.Start();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CurrencyPage::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    Centre();
}

void CurrencyPage::Centre() {
    panel_->adjustSize();
    panel_->move((width() - panel_->width()) >> 1, (height() - panel_->height()) >> 1);
}

void CurrencyPage::SetCaptions(const std::string &from, const std::string &to, const std::string &amount,
                               const std::string &convert) {
    fromLabel_->setText(DisplayText(from));
    toLabel_->setText(DisplayText(to));
    amountLabel_->setText(DisplayText(amount));
    convert_->setText(DisplayText(convert));
    Centre();
}

void CurrencyPage::ApplyLanguageLines(const std::vector<std::string> &lines) {
    std::string value;
    for (const auto &line : lines) {
        if (KeyValue(line, "$LBL_DOL_INFO", value)) info_->setText(DisplayText(value));
        if (KeyValue(line, "$PNL_DOL_TXT", value)) result_->setToolTip(DisplayText(value));
    }
    Centre();  // the credit label is centred in the panel by its layout
}

}  // namespace qm
