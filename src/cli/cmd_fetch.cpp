// quillmar-cli fetch [--head] [--timeout SECONDS] [--max-size BYTES] URL: one request through
// THttpCli with the proxy settings of the options file. The body goes to standard output as it
// arrives, the status line (or the reason of a failure) to standard error; the exit status is
// 0 for status 200 and 1 otherwise. A fetch gives up after 60 seconds (--timeout 0: never) and
// after the idle time-out of the options with no byte, so that a silent server or proxy cannot
// hold a script forever. --max-size ends it once the decoded body passes BYTES (after
// writing the first BYTES); there is no size limit otherwise.
#include "cli/Command.h"

#include "fakeweb/Server.h"
#include "net/HttpCli.h"
#include "net/NetConfig.h"
#include "net/Proxy.h"
#include "settings/DataRoot.h"
#include "settings/Opt.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

int Fetch(const qm::cli::GlobalOptions &global, std::vector<std::string> args) {
    const char *usage = "usage: quillmar-cli fetch [--head] [--timeout SECONDS] [--max-size BYTES] URL\n";
    bool head = false;
    long timeout = 60;
    long long maxSize = 0;
    std::string url;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        if (a == "--head") {
            head = true;
        } else if (a == "--timeout" && i + 1 < args.size()) {
            char *end = nullptr;
            timeout = std::strtol(args[++i].c_str(), &end, 10);
            if (*end || timeout < 0 || timeout > 86400) {
                std::fprintf(stderr, "%s", usage);
                return 2;
            }
        } else if (a == "--max-size" && i + 1 < args.size()) {
            char *end = nullptr;
            const std::string &v = args[++i];
            maxSize = std::strtoll(v.c_str(), &end, 10);
            if (v.empty() || *end || maxSize <= 0) {
                std::fprintf(stderr, "%s", usage);
                return 2;
            }
        } else if (url.empty() && !a.empty() && a[0] != '-') {
            url = a;
        } else {
            std::fprintf(stderr, "%s", usage);
            return 2;
        }
    }
    if (url.empty()) {
        std::fprintf(stderr, "%s", usage);
        return 2;
    }

    qm::SetConnectTo(global.connectTo);
    std::unique_ptr<qm::fakeweb::Server> web;
    if (global.demo) {
        web = std::make_unique<qm::fakeweb::Server>();
        if (!web->start()) {
            std::fprintf(stderr, "quillmar-cli: cannot start the fake web\n");
            return 1;
        }
        qm::RouteServiceHostsTo(web->port(), "127.0.0.1", /*everyHost=*/true);
    }

    std::vector<std::string> rootArgs;
    if (!global.home.empty()) rootArgs = {"--home", global.home};
    qm::DataRoot root(qm::ChooseDataRoot(qm::CurrentDataRootInputs(rootArgs)));
    qm::Options options;
    qm::LoadOptions(options, root.optionsFile(), root.languageDir());  // absent: no proxy

    qm::THttpCli client;
    qm::ApplyProxySettings(client, options.proxy);
    client.URL = url;
    client.Timeout = int(timeout * 1000);
    client.IdleTimeout = std::max(0, options.idleTimeout);
    client.MaxSize = maxSize;
    if (timeout > 0 && timeout < 30) client.ConnectTimeout = int(timeout * 1000);
    QEventLoop loop;
    int error = -1;
    QObject::connect(&client, &qm::THttpCli::OnDocData, [](qm::THttpCli *, const char *data, qsizetype n) {
        std::fwrite(data, 1, size_t(n), stdout);
    });
    QObject::connect(&client, &qm::THttpCli::OnSocketError, [](qm::THttpCli *c, int) { c->Abort(); });
    QObject::connect(&client, &qm::THttpCli::OnRequestDone, [&](qm::THttpCli *, qm::HttpRequest, int e) {
        error = e;
        loop.quit();
    });
    if (!(head ? client.HeadASync() : client.GetASync())) return 1;
    loop.exec();
    std::fflush(stdout);

    if (error != qm::HttpOk) {
        std::fprintf(stderr, "quillmar-cli: %s: %s (%s)\n", url.c_str(), qm::HttpErrorText(error),
                     client.LastErrorText().c_str());
        return 1;
    }
    std::fprintf(stderr, "HTTP %d %s\n", client.ResponseStatus(), client.ResponseReason().c_str());
    return client.ResponseStatus() == 200 ? 0 : 1;
}

qm::cli::CommandRegistration registration("fetch",
                                          "[--head] [--timeout S] [--max-size BYTES] URL   fetch one address (body to stdout, status to stderr)",
                                          Fetch);

}  // namespace
