#pragma once
// Verification of result addresses: for each checked row of the web list a light HEAD
// request tells whether the site still answers, up to 15 at a time, and the row's icon
// shows the outcome. While it runs the web search button acts as its Stop button.
#include <QObject>
#include <QPersistentModelIndex>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QIcon;

namespace qm {

class ResultListModel;
class THttpCli;

// Row images of the verification (IL_VERIF).
enum VerifyImage : int {
    kVerifyAnswered = 0,     // yellow flash: status 200
    kVerifyPage = 1,         // page with a blue tick
    kVerifyFailed = 2,       // red cross: any other outcome
    kVerifyServerError = 3,  // blue circular arrow: status 400 or 500
    kVerifyChecking = 4,     // magnifying glass: check in progress
};
// The 16 x 16 icon of an image index (null icon for an unknown index).
QIcon VerifyIcon(int image);
// Makes the result lists draw these icons for their rows' image indexes.
void InstallVerifyIcons();

extern const char *const kCheckBotAgent;            // "Quillmar CheckBot"
extern const char *const kVerifyAlreadyRunning;     // "Verification process already running"
extern const char *const kSearchWhileVerifying;     // "You can't perform a search while ..."

// The request settings of one check.
struct CheckRequest {
    std::string url;        // the address (a plain host address gets "http://")
    std::string referrer;   // scheme "://" host ":" port of the address
    std::string agent = kCheckBotAgent;
    bool noCache = true;
};
// Builds the settings for a row's address; false when the address cannot be checked over
// HTTP ("http:" and "https:" are checked alike; "file:", "javascript:" and the like never).
bool PrepareCheck(const std::string &address, CheckRequest &request);

// The client of one checker: one HEAD request at a time.
class CheckClient : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Starts a HEAD request; false when it could not start.
    virtual bool Head(const CheckRequest &request) = 0;
    virtual void Abort() = 0;
    virtual int Status() const = 0;  // of the last completed exchange

    // Error codes of `done` (those of THttpCli).
    static constexpr int kOk = 0, kTimedOut = 2, kRefused = 3;

signals:
    void done(int error);
};
using CheckClientFactory = std::function<std::unique_ptr<CheckClient>()>;

// Clients on THttpCli; `configure` applies the connection settings (proxy and so on) to
// each new client.
CheckClientFactory HttpCheckClients(std::function<void(THttpCli &)> configure = {});

// One checker: its client, whether it is busy, the row it checks, the failures seen.
struct TURLChecker {
    std::unique_ptr<CheckClient> client;
    bool busy = false;
    QPersistentModelIndex row;
    int retries = 0;
    int previousImage = -1;  // the row's image before the check, restored if it never ends
    CheckRequest request;
};

class UrlVerification : public QObject {
    Q_OBJECT
public:
    UrlVerification(ResultListModel &list, CheckClientFactory clients, QObject *parent = nullptr);
    ~UrlVerification() override;

    enum class StartResult { Started, AlreadyRunning, NothingSelected };
    // MNU_WEB_VERIFYClick: checks the selected rows' boxes (and unchecks the others), shows
    // the boxes and hands the checked rows to the checkers in row order.
    StartResult Start();
    // The search button while verifying, or the window closing: ends at once; rows still
    // in progress get their former image back and late answers are dropped.
    void Stop();
    bool Running() const { return running_; }

    // Settings (tests shorten them).
    void SetCheckerCount(int n) { checkerCount_ = n; }
    void SetFinalWaitTicks(int ticks) { finalWaitTicks_ = ticks; }
    void SetTickInterval(int ms) { tickTimer_.setInterval(ms); }
    const std::vector<TURLChecker> &Checkers() const { return checkers_; }
    int BusyCheckers() const;


signals:
    // Raised at the start and cleared at the end: the search button shows "Stop" and
    // "Search", the list shows or hides its check boxes (and column 0 is 36 or 20 wide).
    void runningChanged(bool running);
    void finished();

private:
    void Dispatch();
    void HandOut(int checker, const QPersistentModelIndex &row);
    void OnDone(int checker, int error);
    void Tick();
    void Finish();
    void ReleaseCheckers();

    ResultListModel &list_;
    CheckClientFactory clients_;
    std::vector<TURLChecker> checkers_;
    std::vector<QPersistentModelIndex> pending_;
    size_t next_ = 0;
    bool running_ = false;
    bool finalWait_ = false;
    int ticks_ = 0;
    int checkerCount_ = 15;
    int finalWaitTicks_ = 900;
    QTimer tickTimer_;
};

}  // namespace qm
