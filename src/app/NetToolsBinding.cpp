#include "app/NetToolsBinding.h"

#include "app/MainWindow.h"
#include "app/NetToolsPage.h"
#include "app/Pages.h"
#include "net/HttpCli.h"
#include "net/Proxy.h"
#include "service/RemoteConfig.h"
#include "settings/DataRoot.h"
#include "toolkit/DisplayText.h"
#include "tools/NetTools.h"
#include "tools/Whois.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace qm {

namespace {

// Puts the text into the box and moves it to the front of the box's history.
void PushBox(QComboBox &box, HistoryBox &history, const std::string &text) {
    const QSignalBlocker quiet(&box);
    box.setEditText(DisplayText(text));
    BoxToHistory(box, history);
    TMisc::PushHistory(history);
    HistoryToBox(history, box);
}

QString Joined(const std::vector<std::string> &lines) {
    QString text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) text += '\n';
        text += DisplayText(lines[i]);
    }
    return text;
}

}  // namespace

void BindNetTools(TMain &window) {
    TMain *w = &window;
    MessageFn message = [w](const std::string &english) { return w->Model().messages.TextOf(english); };

    // ---- "DNS": ping, local addresses, name resolution ----
    FeaturePage *kitPage = window.Page(PageId::NetKit);
    auto *dns = new DnsPanel(kitPage->Body());
    kitPage->BodyLayout()->addWidget(dns, 1);
    kitPage->SetFocusTarget(dns->HostBox());

    NetToolsEnvironment kitEnv;
    kitEnv.message = message;
    kitEnv.alert = [w](const std::string &text) { w->ShowAlert(text, AlertKind::Error); };
    kitEnv.focusHostBox = [dns] { dns->HostBox()->setFocus(Qt::OtherFocusReason); };
    kitEnv.showPingOptions = [w] { RunHook(w->Hooks().showOptionsWindow, 3); };  // its miscellaneous page
    kitEnv.pushHistory = [w, dns](const std::string &host) { PushBox(*dns->HostBox(), w->QueryHistories().dns, host); };
    kitEnv.pingAmount = [w] { return static_cast<long long>(w->OptionsModel().get().pingAmount); };
    kitEnv.pingDelay = [w] { return static_cast<long long>(w->OptionsModel().get().pingDelay); };
    auto *kit = new NetToolsController(std::move(kitEnv), w);
    kit->setObjectName("NetToolsController");

    auto typedHost = [dns] { return TypedText(dns->HostBox()->currentText()); };
    QObject::connect(dns->PingButton(), &QPushButton::clicked, kit, [kit, typedHost] { kit->Ping(typedHost()); });
    QObject::connect(dns->LocalIpButton(), &QPushButton::clicked, kit, [kit] { kit->LocalIp(); });
    QObject::connect(dns->DnsButton(), &QPushButton::clicked, kit, [kit, typedHost] { kit->Resolve(typedHost()); });
    QObject::connect(dns, &DnsPanel::enterInHostBox, kit, [kit, typedHost] { kit->Enter(typedHost()); });
    QObject::connect(kit, &NetToolsController::lineWritten, dns->Memo(), [dns](const QString &line) {
        dns->Memo()->appendPlainText(line);
    });
    auto kitBusy = [w, kit] {
        w->Model().Flag(Activity::NetworkKit) = (kit->PingEnabled() && kit->DnsEnabled()) ? 0 : 1;
    };
    QObject::connect(kit, &NetToolsController::pingEnabledChanged, dns->PingButton(), &QPushButton::setEnabled);
    QObject::connect(kit, &NetToolsController::dnsEnabledChanged, dns->DnsButton(), &QPushButton::setEnabled);
    QObject::connect(kit, &NetToolsController::pingEnabledChanged, kit, kitBusy);
    QObject::connect(kit, &NetToolsController::dnsEnabledChanged, kit, kitBusy);

    // ---- "WHO": domain name search ----
    FeaturePage *domainPage = window.Page(PageId::Domain);
    auto *who = new WhoisPanel(domainPage->Body());
    domainPage->BodyLayout()->addWidget(who, 1);
    domainPage->SetFocusTarget(who->DomainBox());

    WhoisEnvironment whoEnv;
    whoEnv.message = message;
    whoEnv.alert = [w](const std::string &text) { w->ShowAlert(text, AlertKind::Error); };
    whoEnv.ask = [w](const std::string &text) { return AskConfirm(w, text); };
    whoEnv.openInBrowser = [w](const std::string &address) { w->OpenInBrowser(address); };
    whoEnv.setBoxText = [who](const std::string &domain) {
        const QSignalBlocker quiet(who->DomainBox());
        who->DomainBox()->setEditText(DisplayText(domain));
    };
    whoEnv.pushHistory = [w, who] {
        PushBox(*who->DomainBox(), w->QueryHistories().whois, TypedText(who->DomainBox()->currentText()));
    };
    whoEnv.configureClient = [w](THttpCli &c) { ApplyProxySettings(c, w->OptionsModel().get().proxy); };
    whoEnv.cacheFolder = [w] { return DataRoot(w->Model().dirs.ProgramDir).cacheFolder(kWhoisCacheFolder); };
    whoEnv.disableQuestion = [w] { return w->OptionsModel().get().disableWhoQuestion; };
    // The home site's configuration names the gateway and the registration page (empty: defaults).
    whoEnv.gatewayAddress = [] { return CurrentServiceConfig().whoisUrl; };
    whoEnv.registerPage = [] { return CurrentServiceConfig().whoisSponsor; };
    auto *lookup = new WhoisLookup(std::move(whoEnv), w);
    lookup->setObjectName("WhoisLookup");

    auto typedDomain = [who] { return TypedText(who->DomainBox()->currentText()); };
    QObject::connect(who->LookupButton(), &QPushButton::clicked, lookup,
                     [lookup, typedDomain] { lookup->Lookup(typedDomain()); });
    // Enter looks up, and while a lookup runs it starts again.
    QObject::connect(who, &WhoisPanel::enterInDomainBox, lookup, [lookup, typedDomain] { lookup->Lookup(typedDomain()); });
    QObject::connect(who->DomainBox(), &QComboBox::editTextChanged, lookup,
                     [lookup](const QString &text) { lookup->ShowCached(TypedText(text)); });
    QObject::connect(who->DomainBox(), &QComboBox::textActivated, lookup,
                     [lookup](const QString &text) { lookup->ShowCached(TypedText(text)); });
    QObject::connect(lookup, &WhoisLookup::linesChanged, who->Memo(), [who, lookup] {
        who->Memo()->setPlainText(Joined(lookup->Lines()));
    });
    QObject::connect(lookup, &WhoisLookup::runningChanged, who, [w, who](bool running) {
        who->LookupButton()->setEnabled(!running);
        w->Model().Flag(Activity::WhoisSearch) = running ? 1 : 0;
        if (running)
            QGuiApplication::setOverrideCursor(Qt::BusyCursor);
        else
            QGuiApplication::restoreOverrideCursor();
    });

    // ---- Histories of both boxes, with the web box's at show and close ----
    ShellHooks &h = window.Hooks();
    h.loadHistoriesAndFavorites = [load = h.loadHistoriesAndFavorites, w, dns, who] {
        RunHook(load);
        HistoryToBox(w->QueryHistories().dns, *dns->HostBox());
        HistoryToBox(w->QueryHistories().whois, *who->DomainBox());
    };
    h.saveHistories = [save = h.saveHistories, w, dns, who, kit, lookup] {
        kit->Shutdown();  // the window closes: nothing more is written
        lookup->Shutdown();
        BoxToHistory(*dns->HostBox(), w->QueryHistories().dns);
        BoxToHistory(*who->DomainBox(), w->QueryHistories().whois);
        RunHook(save);
        HistoryToBox(w->QueryHistories().dns, *dns->HostBox());
        HistoryToBox(w->QueryHistories().whois, *who->DomainBox());
    };
}

}  // namespace qm
