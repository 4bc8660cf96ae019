#include "tools/CurrencyConverter.h"

#include "net/HttpCli.h"
#include "net/ServiceHosts.h"
#include "toolkit/Misc.h"
#include "tools/Currency.h"
#include "tools/NumberText.h"

#include <QPointer>

namespace qm {

CurrencyConverter::CurrencyConverter(CurrencyEnvironment env, QObject *parent)
    : QObject(parent),
      env_(std::move(env)),
      client_(new THttpCli(this)),
      from_(kDefaultCurrencyFrom),
      to_(kDefaultCurrencyTo) {
    client_->setObjectName("HTPDOL");
    connect(client_, &THttpCli::OnDocData, this,
            [this](THttpCli *, const char *data, qsizetype n) { OnData(data, n); });
    connect(client_, &THttpCli::OnRequestDone, this, [this](THttpCli *, HttpRequest, int error) { OnDone(error); });
}

CurrencyConverter::~CurrencyConverter() = default;

void CurrencyConverter::SetBusy(bool on) {
    if (busy_ == on) return;
    busy_ = on;
    emit busyChanged(on);
}

void CurrencyConverter::SetShown(std::string text) {
    if (shown_ == text) return;
    shown_ = std::move(text);
    emit shownChanged();
}

void CurrencyConverter::SetFrom(int row) {
    if (row < 0 || row >= kCurrencyCount) row = -1;
    if (row == from_) return;
    Cancel();
    from_ = row;
    emit selectionChanged();
}

void CurrencyConverter::SetTo(int row) {
    if (row < 0 || row >= kCurrencyCount) row = -1;
    if (row == to_) return;
    Cancel();
    to_ = row;
    emit selectionChanged();
}

void CurrencyConverter::Cancel() {
    if (!busy_) return;
    ++generation_;
    if (client_->Busy()) client_->Abort();
    body_.clear();
    SetBusy(false);
}

bool CurrencyConverter::Start() {
    const std::string path = QuoteRequestPath(from_, to_);
    if (path.empty()) return false;
    if (client_->Busy()) client_->Abort();
    ++generation_;
    body_.clear();
    lastRequest_ = path;
    client_->URL = "http://" + ServiceHostFor(kQuoteHostKey) + path;
    if (env_.configureClient) env_.configureClient(*client_);
    if (!client_->GetASync()) return false;
    ++outstanding_;
    SetBusy(true);
    if (env_.startSound) env_.startSound();
    return true;
}

void CurrencyConverter::OnData(const char *data, qsizetype n) {
    if (outstanding_ == 1 && busy_) body_.append(data, size_t(n));
}

void CurrencyConverter::OnDone(int error) {
    if (--outstanding_ > 0) return;  // an aborted request; a newer one is on its way
    outstanding_ = 0;
    if (!busy_) return;              // cancelled: nothing to show, nothing to say
    const unsigned generation = generation_;
    QPointer<CurrencyConverter> self(this);
    std::optional<double> rate;
    if (error == HttpOk && !body_.empty()) {
        std::string work = std::move(body_);
        body_.clear();
        auto keepGoing = [&](size_t p) {
            if (!self || generation != generation_ || !busy_) return false;
            if (env_.closing && env_.closing()) return false;
            if (p % 512 == 0 && env_.pump) env_.pump();
            return bool(self);
        };
        if (auto value = ScanQuoteAnswer(work, keepGoing)) rate = RateFromValue(*value);
        if (!self || generation != generation_) return;  // cancelled or restarted meanwhile
    }
    if (rate) {
        lastRate_ = *rate;
        const double amount = ReadDecimal(Trim(amount_));
        SetShown(FormatGeneral(*rate * amount, env_.separator ? env_.separator() : RegionalDecimalSeparator()));
    }
    body_.clear();
    SetBusy(false);
    if (!rate && env_.message && !(env_.closing && env_.closing())) env_.message(kNoRateMessage);
    emit finished(bool(rate));
}

void CurrencyConverter::Flip() {
    Cancel();
    std::swap(from_, to_);
    emit selectionChanged();
    const double amount = ReadDecimal(amount_);
    double result = 0;
    if (lastRate_ != 0) {
        result = (1 / lastRate_) * amount;
        lastRate_ = 1 / lastRate_;
    }
    SetShown(FormatFlipped(result));
}

}  // namespace qm
