#include "tools/Resolve.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>
#include <thread>

namespace qm {

bool IsDottedIPv4(std::string_view text) {
    if (text.empty() || text.size() > 15) return false;
    in_addr a{};
    return inet_pton(AF_INET, std::string(text).c_str(), &a) == 1;
}

ResolveOutcome ResolveBlocking(const std::string &host, bool reverse) {
    ResolveOutcome out;
    out.reverse = reverse;
    if (reverse) {
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        if (inet_pton(AF_INET, host.c_str(), &sa.sin_addr) != 1) {
            out.error = EAI_NONAME;
            return out;
        }
        char name[NI_MAXHOST] = {};
        // NI_NAMEREQD: no name is a failure, not the address spelled back.
        out.error = getnameinfo(reinterpret_cast<sockaddr *>(&sa), sizeof sa, name, sizeof name, nullptr, 0,
                                NI_NAMEREQD);
        if (out.error == 0) out.results.push_back(name);
        return out;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    addrinfo *list = nullptr;
    out.error = getaddrinfo(host.c_str(), nullptr, &hints, &list);
    if (out.error != 0) return out;
    for (addrinfo *ai = list; ai; ai = ai->ai_next) {
        char text[INET6_ADDRSTRLEN] = {};
        if (ai->ai_family == AF_INET)
            inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in *>(ai->ai_addr)->sin_addr, text, sizeof text);
        else if (ai->ai_family == AF_INET6)
            inet_ntop(AF_INET6, &reinterpret_cast<sockaddr_in6 *>(ai->ai_addr)->sin6_addr, text, sizeof text);
        else
            continue;
        // One entry per socket type comes back for each address: keep the first.
        if (std::find(out.results.begin(), out.results.end(), text) == out.results.end())
            out.results.push_back(text);
    }
    freeaddrinfo(list);
    if (out.results.empty()) out.error = EAI_NONAME;
    return out;
}

// The pending lookup as the event loop sees it; the background thread only holds a weak
// reference, so a cancelled or destroyed lookup never calls back.
struct SystemResolver::Pending {
    Done done;
};

SystemResolver::~SystemResolver() { Cancel(); }

void SystemResolver::Cancel() { pending_.reset(); }

void SystemResolver::Start(const std::string &host, bool reverse, Done done) {
    Cancel();
    pending_ = std::make_shared<Pending>();
    pending_->done = std::move(done);
    std::weak_ptr<Pending> weak = pending_;
    QCoreApplication *app = QCoreApplication::instance();
    std::thread([host, reverse, weak, app] {
        ResolveOutcome out = ResolveBlocking(host, reverse);
        QMetaObject::invokeMethod(
            app,
            [weak, out = std::move(out)] {
                auto p = weak.lock();
                if (!p || !p->done) return;
                Done done = std::move(p->done);  // once
                done(out);
            },
            Qt::QueuedConnection);
    }).detach();
}

}  // namespace qm
