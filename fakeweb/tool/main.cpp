// quillmar-fakeweb [--port N] [--latency-ms N] [--misbehave endless|bomb|silent|trickle|garbage]:
// runs the fake web until interrupted and prints the address it listens on. With --misbehave,
// every request, whatever its host and path, is answered that way.
#include "fakeweb/Server.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {
volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

bool ReadNumber(int argc, char **argv, int &i, int &out) {
    if (i + 1 >= argc) return false;
    char *end = nullptr;
    long v = std::strtol(argv[++i], &end, 10);
    if (!end || *end || v < 0 || v > 10000000) return false;
    out = int(v);
    return true;
}
}  // namespace

const char *const kUsage =
    "usage: quillmar-fakeweb [--port N] [--latency-ms N] [--misbehave endless|bomb|silent|trickle|garbage]\n";

int main(int argc, char **argv) {
    int port = 0, latency = 0;
    qm::fakeweb::Misbehave misbehave = qm::fakeweb::Misbehave::None;
    for (int i = 1; i < argc; ++i) {
        bool ok = true;
        if (!std::strcmp(argv[i], "--port")) ok = ReadNumber(argc, argv, i, port) && port < 65536;
        else if (!std::strcmp(argv[i], "--latency-ms")) ok = ReadNumber(argc, argv, i, latency);
        else if (!std::strcmp(argv[i], "--misbehave") && i + 1 < argc) {
            auto mode = qm::fakeweb::ParseMisbehave(argv[++i]);
            ok = mode.has_value();
            if (ok) misbehave = *mode;
        } else if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::printf("%s", kUsage);
            return 0;
        } else ok = false;
        if (!ok) {
            std::fprintf(stderr, "%s", kUsage);
            return 2;
        }
    }
    qm::fakeweb::Server::Options options;
    options.latencyMs = latency;
    options.misbehave = misbehave;
    qm::fakeweb::Server server(options);
    if (!server.start(port)) {
        std::fprintf(stderr, "quillmar-fakeweb: cannot listen on 127.0.0.1:%d\n", port);
        return 1;
    }
    std::printf("%s\n", server.address().c_str());
    std::fflush(stdout);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    while (!g_stop) pause();
    server.stop();
    return 0;
}
