#include "app/NetToolsPage.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm {

namespace {

QComboBox *MakeBox(QWidget *parent, const char *name) {
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);  // the history decides what enters the list
    box->setMinimumWidth(280);
    box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return box;
}

// Plain text only: what a remote page sends shows as characters, never as markup or links.
QPlainTextEdit *MakeMemo(QWidget *parent, const char *name) {
    auto *memo = new QPlainTextEdit(parent);
    memo->setObjectName(name);
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    memo->setTabStopDistance(memo->fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 8);
    return memo;
}

QPushButton *MakeButton(QWidget *parent, const char *name, const char *caption) {
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

DnsPanel::DnsPanel(QWidget *parent) : QWidget(parent) {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    auto *bar = new QHBoxLayout;
    auto *label = new QLabel("Host/Address", this);
    label->setObjectName("LBL_DNS");
    host_ = MakeBox(this, "CB_DNS");
    label->setBuddy(host_);
    ping_ = MakeButton(this, "BT_PING", "Ping");
    localIp_ = MakeButton(this, "BT_LOCALIP", "Local IP");
    dns_ = MakeButton(this, "BT_DNS", "DNS resolving");
    bar->addWidget(label);
    bar->addWidget(host_, 1);
    bar->addWidget(ping_);
    bar->addWidget(localIp_);
    bar->addWidget(dns_);
    layout->addLayout(bar);
    memo_ = MakeMemo(this, "MEM_DNS");
    layout->addWidget(memo_, 1);
    connect(host_->lineEdit(), &QLineEdit::returnPressed, this, &DnsPanel::enterInHostBox);
}

WhoisPanel::WhoisPanel(QWidget *parent) : QWidget(parent) {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    auto *bar = new QHBoxLayout;
    auto *label = new QLabel("Domain", this);
    label->setObjectName("LBL_WHOIS");
    domain_ = MakeBox(this, "CB_WHOIS");
    label->setBuddy(domain_);
    lookup_ = MakeButton(this, "BT_WHOIS", "Registered by");
    bar->addWidget(label);
    bar->addWidget(domain_, 1);
    bar->addWidget(lookup_);
    layout->addLayout(bar);
    memo_ = MakeMemo(this, "MEM_WHOIS");
    layout->addWidget(memo_, 1);
    connect(domain_->lineEdit(), &QLineEdit::returnPressed, this, &WhoisPanel::enterInDomainBox);
}

}  // namespace qm
