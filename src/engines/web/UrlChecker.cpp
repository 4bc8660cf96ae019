#include "engines/web/UrlChecker.h"

#include "search/Export.h"
#include "search/ResultListModel.h"

#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <array>

namespace qm {

const char *const kCheckBotAgent = "Quillmar CheckBot";
const char *const kVerifyAlreadyRunning = "Verification process already running";
const char *const kSearchWhileVerifying = "You can't perform a search while the verification still running";

// ---- icons ----

namespace {

QPixmap PaintIcon(int image) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    switch (image) {
    case kVerifyAnswered: {  // a yellow flash
        QPainterPath bolt;
        bolt.moveTo(9.5, 0.5);
        bolt.lineTo(2.5, 9.0);
        bolt.lineTo(7.5, 9.0);
        bolt.lineTo(5.5, 15.5);
        bolt.lineTo(13.5, 6.0);
        bolt.lineTo(8.5, 6.0);
        bolt.closeSubpath();
        p.setPen(QPen(QColor(150, 110, 0), 1));
        p.setBrush(QColor(255, 214, 0));
        p.drawPath(bolt);
        break;
    }
    case kVerifyPage: {  // a page with a blue tick
        QPainterPath page;
        page.moveTo(2.5, 0.5);
        page.lineTo(10.0, 0.5);
        page.lineTo(13.5, 4.0);
        page.lineTo(13.5, 15.5);
        page.lineTo(2.5, 15.5);
        page.closeSubpath();
        p.setPen(QPen(QColor(90, 90, 90), 1));
        p.setBrush(Qt::white);
        p.drawPath(page);
        p.setPen(QPen(QColor(20, 70, 200), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(4.5, 8.5), QPointF(7.0, 11.5), QPointF(12.0, 4.5)}));
        break;
    }
    case kVerifyFailed: {  // a red cross
        p.setPen(QPen(QColor(210, 20, 20), 3.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3, 3), QPointF(13, 13));
        p.drawLine(QPointF(13, 3), QPointF(3, 13));
        break;
    }
    case kVerifyServerError: {  // a blue circular arrow
        p.setPen(QPen(QColor(20, 80, 210), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(2.5, 2.5, 11, 11), 100 * 16, 290 * 16);
        QPainterPath head;  // the arrow head at the arc's open end (top)
        head.moveTo(6.0, 0.5);
        head.lineTo(10.5, 3.0);
        head.lineTo(6.0, 5.8);
        head.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(20, 80, 210));
        p.drawPath(head);
        break;
    }
    case kVerifyChecking: {  // a magnifying glass
        p.setPen(QPen(QColor(110, 70, 30), 3.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9.8, 9.8), QPointF(14.5, 14.5));
        p.setPen(QPen(QColor(60, 60, 60), 1.6));
        p.setBrush(QColor(190, 225, 255));
        p.drawEllipse(QRectF(1.5, 1.5, 9.5, 9.5));
        break;
    }
    default:
        break;
    }
    return pm;
}

}  // namespace

QIcon VerifyIcon(int image) {
    static std::array<QIcon, 5> icons;
    if (image < 0 || image >= int(icons.size())) return {};
    if (icons[size_t(image)].isNull()) icons[size_t(image)] = QIcon(PaintIcon(image));
    return icons[size_t(image)];
}

void InstallVerifyIcons() {
    ResultListModel::SetImageDecorator([](int image) -> QVariant {
        QIcon icon = VerifyIcon(image);
        if (icon.isNull()) return {};
        return icon;
    });
}

// ---- request settings ----

bool PrepareCheck(const std::string &address, CheckRequest &request) {
    if (!IsSafeToOpen(address)) return false;
    std::string url = LinkableAddress(address);  // adds "http://" to a plain host address
    std::string scheme = AddressScheme(url);
    if (scheme != "http" && scheme != "https") return false;
    // scheme "://" [user[:password]@] host [":" port] ...
    size_t start = url.find("://");
    if (start == std::string::npos) return false;
    start += 3;
    size_t end = url.find_first_of("/?#", start);
    std::string authority = url.substr(start, end == std::string::npos ? std::string::npos : end - start);
    size_t at = authority.rfind('@');
    if (at != std::string::npos) authority = authority.substr(at + 1);
    std::string host = authority, port = scheme == "https" ? "443" : "80";
    if (!authority.empty() && authority[0] == '[') {  // [v6 address]:port
        size_t close = authority.find(']');
        if (close == std::string::npos) return false;
        host = authority.substr(0, close + 1);
        if (close + 1 < authority.size() && authority[close + 1] == ':') port = authority.substr(close + 2);
    } else if (size_t colon = authority.rfind(':'); colon != std::string::npos) {
        host = authority.substr(0, colon);
        port = authority.substr(colon + 1);
    }
    if (host.empty()) return false;
    if (port.empty()) port = scheme == "https" ? "443" : "80";
    for (char c : port)
        if (c < '0' || c > '9') return false;
    if (port.size() > 5 || std::stol(port) < 1 || std::stol(port) > 65535) return false;
    request.url = url;
    request.referrer = scheme + "://" + host + ":" + port;
    request.agent = kCheckBotAgent;
    request.noCache = true;
    return true;
}

// ---- the verification ----

UrlVerification::UrlVerification(ResultListModel &list, CheckClientFactory clients, QObject *parent)
    : QObject(parent), list_(list), clients_(std::move(clients)) {
    tickTimer_.setInterval(1000);
    connect(&tickTimer_, &QTimer::timeout, this, &UrlVerification::Tick);
}

UrlVerification::~UrlVerification() { ReleaseCheckers(); }

int UrlVerification::BusyCheckers() const {
    int n = 0;
    for (const auto &c : checkers_) n += c.busy ? 1 : 0;
    return n;
}

UrlVerification::StartResult UrlVerification::Start() {
    if (running_) return StartResult::AlreadyRunning;
    std::vector<int> selected = list_.SelectedRows();
    if (selected.empty()) return StartResult::NothingSelected;
    running_ = true;
    finalWait_ = false;
    ticks_ = 0;
    emit runningChanged(true);

    ReleaseCheckers();
    checkers_.resize(size_t(std::max(1, checkerCount_)));
    for (size_t i = 0; i < checkers_.size(); ++i) {
        checkers_[i].client = clients_();
        connect(checkers_[i].client.get(), &CheckClient::done, this,
                [this, i](int error) { OnDone(int(i), error); });
    }

    std::vector<char> isSelected(size_t(list_.Count()), 0);
    for (int r : selected) isSelected[size_t(r)] = 1;
    for (int r = 0; r < list_.Count(); ++r) list_.SetChecked(r, isSelected[size_t(r)] != 0);
    list_.SetCheckBoxesShown(true);
    pending_.clear();
    for (int r : selected) pending_.emplace_back(list_.index(r, 0));
    next_ = 0;
    Dispatch();
    return StartResult::Started;
}

void UrlVerification::Dispatch() {
    while (running_ && next_ < pending_.size()) {
        int free = -1;
        for (size_t i = 0; i < checkers_.size(); ++i)
            if (!checkers_[i].busy) {
                free = int(i);
                break;
            }
        if (free < 0) return;  // the next completion hands out the next row
        QPersistentModelIndex row = pending_[next_++];
        // A row removed meanwhile, or whose box was unchecked before its turn, is skipped.
        if (!row.isValid() || !list_.IsChecked(row.row())) continue;
        HandOut(free, row);
    }
    if (!running_) return;
    if (BusyCheckers() == 0) {
        Finish();
        return;
    }
    if (!finalWait_) {  // every row is handed out: wait for the last answers, at most 900 ticks
        finalWait_ = true;
        ticks_ = 0;
        tickTimer_.start();
    }
}

void UrlVerification::HandOut(int index, const QPersistentModelIndex &row) {
    TURLChecker &c = checkers_[size_t(index)];
    const int r = row.row();
    c.row = row;
    c.retries = 0;
    c.previousImage = list_.Row(r).image;
    c.busy = true;
    list_.SetImage(r, kVerifyChecking);
    if (!PrepareCheck(list_.AddressOf(r), c.request) || !c.client->Head(c.request)) {
        // Not an address that can be asked over HTTP: it cannot be said to answer.
        c.busy = false;
        c.row = QPersistentModelIndex();
        list_.SetImage(r, kVerifyFailed);
    }
}

void UrlVerification::OnDone(int index, int error) {
    if (!running_ || index < 0 || size_t(index) >= checkers_.size()) return;
    TURLChecker &c = checkers_[size_t(index)];
    if (!c.busy) return;
    if ((error == CheckClient::kTimedOut || error == CheckClient::kRefused) && c.retries == 0) {
        ++c.retries;
        if (c.client->Head(c.request)) return;
    }
    if (c.row.isValid()) {
        const int status = error == CheckClient::kOk ? c.client->Status() : 0;
        int image = kVerifyFailed;
        if (status == 200) image = kVerifyAnswered;
        else if (status == 400 || status == 500) image = kVerifyServerError;
        list_.SetImage(c.row.row(), image);
    }
    c.busy = false;
    c.row = QPersistentModelIndex();
    Dispatch();
}

void UrlVerification::Tick() {
    if (!running_ || !finalWait_) return;
    if (++ticks_ >= finalWaitTicks_) Finish();
}

void UrlVerification::Stop() {
    if (running_) Finish();
}

void UrlVerification::Finish() {
    if (!running_) return;
    running_ = false;
    tickTimer_.stop();
    for (auto &c : checkers_) {
        if (c.busy && c.row.isValid() && list_.Row(c.row.row()).image == kVerifyChecking)
            list_.SetImage(c.row.row(), c.previousImage);
        c.busy = false;
        c.row = QPersistentModelIndex();
    }
    ReleaseCheckers();
    pending_.clear();
    next_ = 0;
    list_.SetCheckBoxesShown(false);
    emit runningChanged(false);
    emit finished();
}

void UrlVerification::ReleaseCheckers() {
    for (auto &c : checkers_) {
        if (!c.client) continue;
        // The client may be the sender of the signal being handled: disconnect now, abort
        // what it still has, delete it from the event loop.
        c.client->disconnect(this);
        c.client->Abort();
        c.client.release()->deleteLater();
    }
    checkers_.clear();
}

}  // namespace qm
