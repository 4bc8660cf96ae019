#include "app/Browser.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace qm {

namespace {

std::string Trim(const std::string &s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
    return s.substr(b, e - b);
}

std::string FindBrowserProgram(const std::string &name) {
    if (name.empty()) return {};
    QString n = QString::fromStdString(name);
    if (n.contains('/')) {
        QFileInfo fi(n);
        return fi.isFile() && fi.isExecutable() ? fi.absoluteFilePath().toStdString() : std::string();
    }
    return QStandardPaths::findExecutable(n).toStdString();
}

}  // namespace

BrowserAddressMap &BrowserAddressMapSlot() {
    static BrowserAddressMap map;
    return map;
}

BrowserPlan PlanBrowser(const ShellOptions &options, const std::string &address,
                        const std::string &programDir) {
    BrowserPlan plan;
    std::string a = Trim(address);
    if (a.empty()) return plan;
    if (const BrowserAddressMap &map = BrowserAddressMapSlot()) a = map(a);
    if (options.defaultNavigator) {
        // The desktop decides whether its browser reuses a window; both surf modes end here.
        // A bare host becomes http://, an absolute path a file address (result pages).
        QUrl url = QUrl::fromUserInput(QString::fromStdString(a));
        if (!url.isValid()) return plan;
        plan.kind = BrowserPlan::OpenWithDesktop;
        plan.url = url.toString(QUrl::FullyEncoded).toStdString();
        return plan;
    }
    std::string program = FindBrowserProgram(Trim(options.externalNavigator));
    if (program.empty()) {
        plan.kind = BrowserPlan::NavigatorMissing;
        return plan;
    }
    // An argument starting with "-" would be read as one of the browser's own options.
    if (a[0] == '-') return plan;
    plan.kind = BrowserPlan::StartProgram;
    plan.program = program;
    plan.args = {a};
    plan.workDir = programDir;
    return plan;
}

BrowserRunner &BrowserRunnerSlot() {
    static BrowserRunner runner;
    return runner;
}

DesktopOpener &DesktopOpenerSlot() {
    static DesktopOpener opener;
    return opener;
}

bool OpenWithDesktop(const std::string &address) {
    if (auto &o = DesktopOpenerSlot()) return o(address);
    QUrl url(QString::fromStdString(address), QUrl::StrictMode);
    return url.isValid() && QDesktopServices::openUrl(url);
}

bool RunBrowserPlan(const BrowserPlan &plan) {
    if (auto &r = BrowserRunnerSlot()) return r(plan);
    switch (plan.kind) {
    case BrowserPlan::OpenWithDesktop:
        return OpenWithDesktop(plan.url);
    case BrowserPlan::StartProgram: {
        QStringList args;
        for (const auto &s : plan.args) args << QString::fromStdString(s);
        return QProcess::startDetached(QString::fromStdString(plan.program), args,
                                       QString::fromStdString(plan.workDir));
    }
    default:
        return false;
    }
}

}  // namespace qm
