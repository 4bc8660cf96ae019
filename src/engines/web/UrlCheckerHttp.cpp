// The verification's checkers on the program's HTTP client.
#include "engines/web/UrlChecker.h"

#include "net/HttpCli.h"

namespace qm {

namespace {

class HttpCheckClient : public CheckClient {
public:
    explicit HttpCheckClient(const std::function<void(THttpCli &)> &configure) {
        // A new checker is prepared once with an empty address.
        Prepare(CheckRequest{});
        if (configure) configure(client_);
        connect(&client_, &THttpCli::OnRequestDone, this,
                [this](THttpCli *, HttpRequest, int error) { emit done(error); });
        // A failure at the socket level aborts the request; its done event follows.
        connect(&client_, &THttpCli::OnSocketError, this, [this](THttpCli *, int) { client_.Abort(); });
    }

    bool Head(const CheckRequest &request) override {
        if (client_.Busy()) client_.Abort();
        Prepare(request);
        return client_.HeadASync();
    }
    void Abort() override { client_.Abort(); }
    int Status() const override { return client_.ResponseStatus(); }

private:
    void Prepare(const CheckRequest &r) {
        client_.URL = r.url;
        client_.Agent = r.agent;
        client_.NoCache = r.noCache;
        client_.ModifiedSince = 0;
        client_.Reference = r.referrer;
        client_.Sender.clear();
    }

    THttpCli client_;
};

}  // namespace

CheckClientFactory HttpCheckClients(std::function<void(THttpCli &)> configure) {
    return [configure] { return std::make_unique<HttpCheckClient>(configure); };
}

}  // namespace qm
