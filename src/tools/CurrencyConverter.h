#pragma once
// The currency converter: the two chosen currencies, the amount, the panel's text, the last
// rate and one request at a time to the quote service through the main window's kind of
// HTTP client. The currency page and quillmar-cli both drive it.
//
// A conversion runs from Start() to `finished`. Changing a currency or flipping while it
// runs aborts it, so that an answer is never shown under a pair it was not asked for.
#include <QObject>

#include <functional>
#include <string>

namespace qm {

class THttpCli;

struct CurrencyEnvironment {
    std::function<void(THttpCli &)> configureClient;  // proxy settings, before every request
    std::function<void()> startSound;                 // unless audio alerts are off
    std::function<void(const std::string &)> message; // a conversion that read no rate
    std::function<void()> pump;                       // lets pending events run
    std::function<bool()> closing;                    // the window is closing
    std::function<std::string()> separator;           // the regional decimal separator
};

inline constexpr const char *kNoRateMessage = "No exchange rate could be read.";

class CurrencyConverter : public QObject {
    Q_OBJECT
public:
    explicit CurrencyConverter(CurrencyEnvironment env, QObject *parent = nullptr);
    ~CurrencyConverter() override;

    int From() const { return from_; }
    int To() const { return to_; }
    // A change while a conversion runs aborts it. -1 (or a row out of range) selects nothing.
    void SetFrom(int row);
    void SetTo(int row);
    const std::string &Amount() const { return amount_; }
    void SetAmount(std::string text) { amount_ = std::move(text); }
    // The result panel's text.
    const std::string &Shown() const { return shown_; }
    void SetShown(std::string text);
    double LastRate() const { return lastRate_; }
    bool Busy() const { return busy_; }
    // Path and query of the last request sent.
    const std::string &LastRequest() const { return lastRequest_; }
    THttpCli &Client() { return *client_; }

    // The convert button: aborts a request still running, sends the new one. False (and
    // nothing sent) when a currency is not selected.
    bool Start();
    // Exchanges the currencies and shows the reverse conversion with the last rate.
    void Flip();
    // Aborts a running conversion without a word.
    void Cancel();

signals:
    void busyChanged(bool busy);
    void shownChanged();
    void selectionChanged();
    // A conversion ended (not after Cancel): found tells whether a rate was read.
    void finished(bool found);

private:
    void OnData(const char *data, qsizetype n);
    void OnDone(int error);
    void SetBusy(bool on);

    CurrencyEnvironment env_;
    THttpCli *client_;
    int from_;
    int to_;
    std::string amount_ = "1.0";
    std::string shown_ = "0.00";
    double lastRate_ = 1.0;
    bool busy_ = false;
    std::string body_;
    std::string lastRequest_;
    int outstanding_ = 0;      // requests whose request-done event is still to come
    unsigned generation_ = 0;  // changes with every start and cancel
};

}  // namespace qm
