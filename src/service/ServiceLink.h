#pragma once
// The run's link to the home site: the configuration download (one retry, then the local
// copy "Options/qm_config.ini"), applying what it gives, and the front picture download.
// No widgets: the window and the command line listen to its events.
#include "net/HttpCli.h"
#include "net/Proxy.h"
#include "service/ConfigDownload.h"
#include "service/FrontPicture.h"
#include "service/RemoteConfig.h"

#include <QObject>

#include <functional>
#include <memory>
#include <string>

namespace qm {

struct Options;

// "http://" + the home host + "/ini/qm_config.ini".
std::string DefaultConfigAddress();

struct ServiceLinkSettings {
    std::string dataRoot;
    std::string address;  // the configuration's address; empty: DefaultConfigAddress()
    ProxySettings proxy;
    // The configuration and the picture are small: 1 MB at most, the options' idle time-out.
    HttpLimits limits{1LL << 20, 20, 60000};
};
// The settings of a run from the options (proxy, idle time-out).
ServiceLinkSettings ServiceLinkSettingsFrom(const Options &options, std::string dataRoot);

// One GET whose whole body is handed over at the end, with whether it arrived whole.
class WholeBodyFetch {
public:
    using Done = std::function<void(ConfigFetchResult)>;
    explicit WholeBodyFetch(QObject *owner) : owner_(owner) {}
    ~WholeBodyFetch();
    // Starts a GET (a running one is dropped first); `done` is called once, from the loop.
    void Start(const std::string &url, const ProxySettings &proxy, const HttpLimits &limits, Done done);
    // Drops the running request: its `done` is never called.
    void Abort();
    bool Busy() const { return client_ != nullptr; }

private:
    QObject *owner_;
    THttpCli *client_ = nullptr;
    std::string body_;
};

class ServiceLink : public QObject {
    Q_OBJECT
public:
    enum class Front { None, Kept, Downloading, Downloaded, Failed, Refused };

    explicit ServiceLink(ServiceLinkSettings settings, QObject *parent = nullptr);
    ~ServiceLink() override;

    // Read when the download starts (the window refreshes the proxy and time-out first).
    ServiceLinkSettings &Settings() { return settings_; }

    // StartConfigDownload: once per run; later calls do nothing.
    void Start();
    // The window closes: both requests are dropped, nothing more happens.
    void Abort();

    // ApplyConfig on the current configuration and everything that follows it: published
    // program-wide, then the events in their order. Once per run.
    void Apply(const StringList &lines);

    bool Applied() const { return applied_; }
    // Neither the configuration nor the picture is being fetched (and the run started).
    bool Idle() const;
    const ConfigDownload &Download() const { return *download_; }
    Front FrontState() const { return front_; }
    const std::string &FrontPath() const { return frontPath_; }

    // Events, in the order applying raises them.
    std::function<void(const RefusedValue &)> refused;
    std::function<void(const RemoteConfig &)> configured;        // published, before the picture
    std::function<void(const std::string &path)> showFrontPicture;  // absolute path
    std::function<void(const ConfigNotice &)> notice;            // only when there is one
    std::function<void()> bannerStep;                            // once, at the end of applying
    // The download and the picture download are over (for a caller that waits).
    std::function<void()> finished;

private:
    std::unique_ptr<ConfigDownload> MakeDownload();
    void StartFrontPicture(const RemoteConfig &config);
    void MaybeFinished();

    ServiceLinkSettings settings_;
    WholeBodyFetch configFetch_;
    WholeBodyFetch pictureFetch_;
    std::unique_ptr<ConfigDownload> download_;
    bool applied_ = false;
    bool aborted_ = false;
    Front front_ = Front::None;
    std::string frontPath_;
};

}  // namespace qm
