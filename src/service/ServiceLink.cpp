#include "service/ServiceLink.h"

#include "net/ServiceHosts.h"
#include "settings/DataRoot.h"
#include "settings/Opt.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace qm {

std::string DefaultConfigAddress() { return "http://" + ServiceHostFor("home") + "/ini/qm_config.ini"; }

ServiceLinkSettings ServiceLinkSettingsFrom(const Options &options, std::string dataRoot) {
    ServiceLinkSettings s;
    s.dataRoot = std::move(dataRoot);
    s.proxy = ToProxySettings(options.proxy);
    s.limits.idleTimeout = std::max(0, options.idleTimeout);
    return s;
}

// ---------------------------------------------------------------- WholeBodyFetch

WholeBodyFetch::~WholeBodyFetch() { Abort(); }

void WholeBodyFetch::Abort() {
    if (!client_) return;
    THttpCli *c = std::exchange(client_, nullptr);
    c->disconnect();
    c->Abort();
    c->deleteLater();
}

void WholeBodyFetch::Start(const std::string &url, const ProxySettings &proxy, const HttpLimits &limits, Done done) {
    Abort();
    body_.clear();
    client_ = new THttpCli(owner_);
    ApplyProxySettings(*client_, proxy);
    ApplyHttpLimits(*client_, limits);
    client_->URL = url;
    QObject::connect(client_, &THttpCli::OnDocData, client_,
                     [this](THttpCli *, const char *data, qsizetype n) { body_.append(data, size_t(n)); });
    QObject::connect(client_, &THttpCli::OnRequestDone, client_, [this, done](THttpCli *c, HttpRequest, int error) {
        const Done finish = done;  // the connection goes below
        ConfigFetchResult r;
        r.ok = error == HttpOk;
        r.status = c->ResponseStatus();
        // A body shorter (or longer) than announced is cut; a compressed one is checked by
        // the client itself.
        const std::string length = c->ResponseHeader("Content-Length");
        const std::string coding = c->ResponseHeader("Content-Encoding");
        r.complete = length.empty() || !(coding.empty() || SameTextNoCase(coding, "identity")) ||
                     std::strtoull(length.c_str(), nullptr, 10) == body_.size();
        r.body = std::move(body_);
        body_.clear();
        client_ = nullptr;
        c->disconnect();
        c->deleteLater();
        finish(std::move(r));
    });
    if (!client_->GetASync()) {
        Abort();
        done({});
    }
}

// ---------------------------------------------------------------- ServiceLink

ServiceLink::ServiceLink(ServiceLinkSettings settings, QObject *parent)
    : QObject(parent), settings_(std::move(settings)), configFetch_(this), pictureFetch_(this) {
    download_ = MakeDownload();
}

std::unique_ptr<ConfigDownload> ServiceLink::MakeDownload() {
    return std::make_unique<ConfigDownload>(
        DataRoot(settings_.dataRoot).optionsDir() + "/qm_config.ini",
        [this](std::function<void(ConfigFetchResult)> done) {
            const std::string url = settings_.address.empty() ? DefaultConfigAddress() : settings_.address;
            configFetch_.Start(url, settings_.proxy, settings_.limits, [this, done](ConfigFetchResult r) {
                done(std::move(r));
                MaybeFinished();
            });
        },
        [this](const StringList &lines) { Apply(lines); });
}

ServiceLink::~ServiceLink() {
    configFetch_.Abort();
    pictureFetch_.Abort();
}

void ServiceLink::Start() {
    if (aborted_) return;
    // The settings may have changed since construction (the window fills them in when the
    // download starts): the local copy lies in the data root they name now.
    if (download_->phase() == ConfigDownload::Phase::NotStarted) download_ = MakeDownload();
    download_->Start();
    MaybeFinished();  // a download that could not even start
}

void ServiceLink::Abort() {
    aborted_ = true;
    configFetch_.Abort();
    pictureFetch_.Abort();
    if (front_ == Front::Downloading) front_ = Front::Failed;
}

bool ServiceLink::Idle() const {
    return download_->phase() != ConfigDownload::Phase::NotStarted && !configFetch_.Busy() && !pictureFetch_.Busy();
}

void ServiceLink::MaybeFinished() {
    if (Idle() && finished) finished();
}

void ServiceLink::Apply(const StringList &lines) {
    if (applied_ || aborted_) return;
    RemoteConfig config = ApplyConfig(lines, CurrentServiceConfig());
    SetServiceConfig(config);
    for (const RefusedValue &r : config.refused)
        if (refused) refused(r);
    if (configured) configured(config);
    StartFrontPicture(config);
    if (config.notice.kind != ConfigNotice::Kind::None && notice) notice(config.notice);
    applied_ = true;
    if (bannerStep) bannerStep();
}

void ServiceLink::StartFrontPicture(const RemoteConfig &config) {
    pictureFetch_.Abort();
    const FrontPicturePlan plan = PlanFrontPicture(settings_.dataRoot, config);
    frontPath_ = plan.path;
    auto refusedKey = [&](const char *key) {
        return std::any_of(config.refused.begin(), config.refused.end(),
                           [key](const RefusedValue &r) { return r.key == key; });
    };
    switch (plan.action) {
        case FrontPicturePlan::Action::None:
            front_ = refusedKey("$FRONT_GIF") || refusedKey("$FRONT_URL") ? Front::Refused : Front::None;
            return;
        case FrontPicturePlan::Action::Show:
            front_ = Front::Kept;
            if (showFrontPicture) showFrontPicture(plan.path);
            return;
        case FrontPicturePlan::Action::Download: break;
    }
    front_ = Front::Downloading;
    pictureFetch_.Start(plan.url, settings_.proxy, settings_.limits, [this, path = plan.path](ConfigFetchResult r) {
        // Written beside the target and renamed into place only when it arrived whole.
        const bool stored = StoreFrontPicture(path, r);
        front_ = stored ? Front::Downloaded : Front::Failed;
        if (stored && showFrontPicture) showFrontPicture(path);
        MaybeFinished();
    });
}

}  // namespace qm
