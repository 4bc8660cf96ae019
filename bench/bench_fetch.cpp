// Fetching the same pages from the fake web on loopback with 17 THttpCli clients in
// parallel (each fetching its pages one after another) and with the curl tool's --parallel,
// side by side in one run. Prints wall and CPU time of both and their ratios.
//
// usage: bench_fetch [--pages-per-client N] [--size BYTES] [--rounds N]
#include "net/HttpCli.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kClients = 17;

double CpuMs(int who) {
    rusage u{};
    getrusage(who, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

struct Sample {
    double wallMs = 0, cpuMs = 0;
    size_t bytes = 0;
};

std::string PageUrl(const std::string &base, int client, int page, int size) {
    return base + "/page?n=" + std::to_string(client * 1000 + page) + "&size=" + std::to_string(size);
}

Sample RunClients(const std::string &base, int pages, int size) {
    std::vector<std::unique_ptr<qm::THttpCli>> clients;
    std::vector<std::string> buffers(kClients);
    std::vector<int> done(kClients, 0);
    int finished = 0, failures = 0;
    size_t bytes = 0;
    QEventLoop loop;
    for (int i = 0; i < kClients; ++i) {
        auto c = std::make_unique<qm::THttpCli>();
        c->Tag = i;
        QObject::connect(c.get(), &qm::THttpCli::OnDocData, [&](qm::THttpCli *s, const char *b, qsizetype n) {
            buffers[size_t(s->Tag)].append(b, size_t(n));
        });
        QObject::connect(c.get(), &qm::THttpCli::OnRequestDone, [&](qm::THttpCli *s, qm::HttpRequest, int e) {
            int t = s->Tag;
            if (e != 0 || s->ResponseStatus() != 200) ++failures;
            bytes += buffers[size_t(t)].size();
            buffers[size_t(t)].clear();
            if (++done[size_t(t)] < pages) {
                s->URL = PageUrl(base, t, done[size_t(t)], size);
                s->GetASync();
            } else if (++finished == kClients) {
                loop.quit();
            }
        });
        clients.push_back(std::move(c));
    }
    QElapsedTimer wall;
    double cpu0 = CpuMs(RUSAGE_SELF);
    wall.start();
    for (int i = 0; i < kClients; ++i) {
        clients[size_t(i)]->URL = PageUrl(base, i, 0, size);
        clients[size_t(i)]->GetASync();
    }
    loop.exec();
    Sample s{double(wall.nsecsElapsed()) / 1e6, CpuMs(RUSAGE_SELF) - cpu0, bytes};
    if (failures) std::fprintf(stderr, "bench_fetch: %d requests failed\n", failures);
    return s;
}

Sample RunCurl(const std::string &config, size_t expectedBytes) {
    QProcess curl;
    double cpu0 = CpuMs(RUSAGE_CHILDREN);
    QElapsedTimer wall;
    wall.start();
    curl.start("curl", {"--parallel", "--parallel-max", QString::number(kClients), "-s", "-K",
                        QString::fromStdString(config), "-w", "%{size_download}\n"});
    curl.waitForFinished(-1);
    Sample s{double(wall.nsecsElapsed()) / 1e6, CpuMs(RUSAGE_CHILDREN) - cpu0, 0};
    for (const auto &line : curl.readAllStandardOutput().split('\n'))
        if (!line.isEmpty()) s.bytes += size_t(line.toULongLong());
    if (curl.exitCode() != 0 || s.bytes != expectedBytes)
        std::fprintf(stderr, "bench_fetch: curl exit %d, %zu bytes of %zu\n", curl.exitCode(), s.bytes, expectedBytes);
    return s;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    int pages = 20, size = 20000, rounds = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--pages-per-client")) pages = std::max(1, std::atoi(argv[i + 1]));
        else if (!std::strcmp(argv[i], "--size")) size = std::max(100, std::atoi(argv[i + 1]));
        else if (!std::strcmp(argv[i], "--rounds")) rounds = std::max(1, std::atoi(argv[i + 1]));
    }

    // The fake web runs in its own process so that its work counts for neither side.
    QProcess web;
    web.start(QString(QUILLMAR_BINARY_DIR) + "/fakeweb/quillmar-fakeweb", {});
    if (!web.waitForReadyRead(10000)) {
        std::fprintf(stderr, "bench_fetch: the fake web did not start\n");
        return 1;
    }
    std::string base = "http://" + web.readLine().trimmed().toStdString();

    QTemporaryDir dir;
    std::string config = dir.filePath("urls.curl").toStdString();
    {
        std::ofstream out(config);
        for (int p = 0; p < pages; ++p)
            for (int c = 0; c < kClients; ++c)
                out << "url = \"" << PageUrl(base, c, p, size) << "\"\noutput = \"/dev/null\"\n";
    }

    RunClients(base, 2, size);  // warm-up of both sides
    Sample first = RunClients(base, pages, size);
    RunCurl(config, first.bytes);
    std::vector<double> cliWall, cliCpu, curlWall, curlCpu;
    for (int r = 0; r < rounds; ++r) {
        Sample a = RunClients(base, pages, size);
        Sample b = RunCurl(config, a.bytes);
        cliWall.push_back(a.wallMs);
        cliCpu.push_back(a.cpuMs);
        curlWall.push_back(b.wallMs);
        curlCpu.push_back(b.cpuMs);
    }
    // What starting the curl program costs (one tiny request), to read the ratio without it.
    std::vector<double> startWall, startCpu;
    {
        std::string one = dir.filePath("one.curl").toStdString();
        std::ofstream(one) << "url = \"" << base << "/page?size=100\"\noutput = \"/dev/null\"\n";
        for (int r = 0; r < rounds; ++r) {
            Sample s = RunCurl(one, 100);
            startWall.push_back(s.wallMs);
            startCpu.push_back(s.cpuMs);
        }
    }
    web.terminate();
    web.waitForFinished(5000);

    double cw = Median(cliWall), cc = Median(cliCpu), uw = Median(curlWall), uc = Median(curlCpu);
    std::printf("fetch: %d clients x %d pages of %d bytes from the fake web on loopback, median of %d rounds\n",
                kClients, pages, size, rounds);
    std::printf("  %-16s %10s %10s\n", "", "wall ms", "cpu ms");
    std::printf("  %-16s %10.1f %10.1f\n", "THttpCli", cw, cc);
    std::printf("  %-16s %10.1f %10.1f\n", "curl --parallel", uw, uc);
    std::printf("  ratio THttpCli / curl: wall %.2f, cpu %.2f\n", cw / uw, cc / uc);
    double sw = Median(startWall), sc = Median(startCpu);
    std::printf("  curl start-up and one tiny request: wall %.1f ms, cpu %.1f ms\n", sw, sc);
    if (uw > sw && uc > sc)
        std::printf("  ratio without curl's start-up:  wall %.2f, cpu %.2f\n", cw / (uw - sw), cc / (uc - sc));
    return 0;
}
