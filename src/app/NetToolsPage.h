#pragma once
// The widgets of the "DNS" tab (network kit) and the "WHO" tab (domain name search). They
// only show; NetToolsBinding ties them to the controllers of src/tools.
#include <QWidget>

class QComboBox;
class QPlainTextEdit;
class QPushButton;

namespace qm {

// Host box with history, "Ping", "Local IP", "DNS resolving" and the accumulating memo.
class DnsPanel : public QWidget {
    Q_OBJECT
public:
    explicit DnsPanel(QWidget *parent = nullptr);
    QComboBox *HostBox() const { return host_; }
    QPushButton *PingButton() const { return ping_; }
    QPushButton *LocalIpButton() const { return localIp_; }
    QPushButton *DnsButton() const { return dns_; }
    QPlainTextEdit *Memo() const { return memo_; }

signals:
    void enterInHostBox();

private:
    QComboBox *host_;
    QPushButton *ping_, *localIp_, *dns_;
    QPlainTextEdit *memo_;
};

// Domain box with history, "Registered by" and the memo.
class WhoisPanel : public QWidget {
    Q_OBJECT
public:
    explicit WhoisPanel(QWidget *parent = nullptr);
    QComboBox *DomainBox() const { return domain_; }
    QPushButton *LookupButton() const { return lookup_; }
    QPlainTextEdit *Memo() const { return memo_; }

signals:
    void enterInDomainBox();

private:
    QComboBox *domain_;
    QPushButton *lookup_;
    QPlainTextEdit *memo_;
};

}  // namespace qm
