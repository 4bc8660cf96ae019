#pragma once
// Helpers for the HTTP client tests: event recording and pumping the event loop.
#include "net/HttpCli.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

namespace qm::test {

// Pumps the event loop until pred() holds or ms pass; returns pred().
inline bool WaitFor(const std::function<bool()> &pred, int ms = 15000) {
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > ms) return false;
        QEventLoop pump;  // wakes up at least every 20 ms, whatever happens
        QTimer::singleShot(20, &pump, &QEventLoop::quit);
        pump.exec();
    }
    return true;
}

// Records what a client reports, in order.
struct Recorder {
    std::string body;
    int dataEvents = 0;
    int done = 0;
    int error = -1;
    int socketErrors = 0;
    int status = 0;
    HttpRequest type = HttpRequest::Get;
    std::vector<std::string> cookies;
    std::vector<std::string> locations;
    std::vector<std::string> log;  // "data", "cookie", "location", "socket", "done"

    void attach(THttpCli &c) {
        QObject::connect(&c, &THttpCli::OnDocData, [this](THttpCli *, const char *b, qsizetype n) {
            body.append(b, size_t(n));
            ++dataEvents;
            if (log.empty() || log.back() != "data") log.push_back("data");
        });
        QObject::connect(&c, &THttpCli::OnRequestDone, [this](THttpCli *s, HttpRequest t, int e) {
            ++done;
            error = e;
            type = t;
            status = s->ResponseStatus();
            log.push_back("done");
        });
        QObject::connect(&c, &THttpCli::OnCookie, [this](THttpCli *, const std::string &text, bool &) {
            cookies.push_back(text);
            log.push_back("cookie");
        });
        QObject::connect(&c, &THttpCli::OnLocationChange, [this](THttpCli *s) {
            locations.push_back(s->ResponseLocation());
            log.push_back("location");
        });
        QObject::connect(&c, &THttpCli::OnSocketError, [this](THttpCli *, int) {
            ++socketErrors;
            log.push_back("socket");
        });
    }

    bool waitDone(int count = 1, int ms = 15000) {
        return WaitFor([&] { return done >= count; }, ms);
    }
};

// A loopback port where nobody listens (bound, then released).
int ClosedPort();

}  // namespace qm::test
