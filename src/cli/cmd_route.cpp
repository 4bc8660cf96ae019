// quillmar-cli route: the road planner of the window without it.
//
//   route parse --planner us|eu [--km] [--switch km|miles]... --format json FILE
//   route --planner us|eu [fields] [--fastest] [--km] [--flip] [--switch km|miles]...
//         [--save FILE] [--print PDF] --format json
#include "cli/WebCli.h"
#include "net/HttpCli.h"
#include "net/Proxy.h"
#include "toolkit/AtomicFile.h"
#include "tools/RoadPlanner.h"
#include "tools/RoadPrint.h"

#include <QEventLoop>
#include <QGuiApplication>

#include <cstdio>

namespace qm::cli {
namespace {

struct RouteArgs {
    RoadMode mode = RoadMode::US;
    bool plannerGiven = false, km = false, fastest = false, flip = false;
    std::vector<bool> switches;  // true: to kilometres
    std::string save, print, format;
    RoadUsPlace usFrom, usTo;
    RoadEuPlace euFrom, euTo;
};

int Usage(const std::string &error) {
    std::fprintf(stderr, "quillmar-cli route: %s\n", error.c_str());
    return 2;
}

std::string RowsJson(const std::vector<RoadRow> &rows) {
    std::string out = "[";
    for (size_t i = 0; i < rows.size(); ++i) {
        out += (i ? ", " : "") + std::string("{\"step\": ") + JsonString(rows[i].step) +
               ", \"distance\": " + JsonString(rows[i].distance) + "}";
    }
    return out + "]";
}

// Reads the options; "" or an error text.
std::string ReadArgs(const std::vector<std::string> &args, bool parse, RouteArgs &a, std::vector<std::string> &words) {
    std::vector<std::string_view> valued{"--planner", "--switch", "--format"};
    std::vector<std::string_view> flags{"--km"};
    if (!parse) {
        for (auto v : {"--from-address", "--from-city", "--from-state", "--from-zip", "--to-address", "--to-city",
                       "--to-state", "--to-zip", "--from-town", "--from-code", "--from-country", "--to-town",
                       "--to-code", "--to-country", "--save", "--print"})
            valued.push_back(v);
        for (auto f : {"--fastest", "--flip"}) flags.push_back(f);
    }
    auto among = [](const std::vector<std::string_view> &names, const std::string &a) {
        return std::find(names.begin(), names.end(), a) != names.end();
    };
    auto country = [](const std::string &text, int &to) -> std::string {
        int i = FindRoadCountry(text);
        if (i < 0) return "unknown country \"" + text + "\"";
        to = i;
        return "";
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &n = args[i];
        std::string v;
        if (among(valued, n)) {
            if (i + 1 >= args.size()) return n + " needs a value";
            v = args[++i];
        } else if (!among(flags, n)) {
            if (n.rfind("--", 0) == 0) return "unknown option " + n;
            words.push_back(n);
            continue;
        }
        if (n == "--planner") {
            if (v != "us" && v != "eu") return "--planner takes us or eu";
            a.mode = v == "eu" ? RoadMode::Europe : RoadMode::US;
            a.plannerGiven = true;
        } else if (n == "--switch") {
            if (v != "km" && v != "miles") return "--switch takes km or miles";
            a.switches.push_back(v == "km");
        } else if (n == "--format") a.format = v;
        else if (n == "--km") a.km = true;
        else if (n == "--fastest") a.fastest = true;
        else if (n == "--flip") a.flip = true;
        else if (n == "--save") a.save = v;
        else if (n == "--print") a.print = v;
        else if (n == "--from-address") a.usFrom.address = v;
        else if (n == "--from-city") a.usFrom.city = v;
        else if (n == "--from-state") a.usFrom.state = v;
        else if (n == "--from-zip") a.usFrom.zip = v;
        else if (n == "--to-address") a.usTo.address = v;
        else if (n == "--to-city") a.usTo.city = v;
        else if (n == "--to-state") a.usTo.state = v;
        else if (n == "--to-zip") a.usTo.zip = v;
        else if (n == "--from-town") a.euFrom.town = v;
        else if (n == "--from-code") a.euFrom.code = v;
        else if (n == "--to-town") a.euTo.town = v;
        else if (n == "--to-code") a.euTo.code = v;
        else if (n == "--from-country") {
            if (auto e = country(v, a.euFrom.country); !e.empty()) return e;
        } else if (n == "--to-country") {
            if (auto e = country(v, a.euTo.country); !e.empty()) return e;
        }
    }
    if (!a.plannerGiven) return "--planner us|eu is needed";
    if (a.format != "json") return "--format json is needed";
    return "";
}

// Selects the planner and ticks kilometres as the page's controls would.
void Prepare(RoadPlanner &p, const RouteArgs &a) {
    p.SelectPlanner(a.mode);
    if (a.km) p.SetKm(true);
}

int Parse(const std::vector<std::string> &args) {
    RouteArgs a;
    std::vector<std::string> words;
    if (auto e = ReadArgs(args, true, a, words); !e.empty()) return Usage(e);
    if (words.size() != 1) return Usage("parse reads one FILE");
    std::string page;
    if (!ReadWholeFile(words[0], page)) {
        std::fprintf(stderr, "quillmar-cli route parse: cannot read %s\n", words[0].c_str());
        return 1;
    }
    RoadPlanner p;
    Prepare(p, a);
    p.ReadPage(page);
    for (bool km : a.switches) p.SetKm(km);
    std::printf("{\"rows\": %s}\n", RowsJson(p.Rows()).c_str());
    return 0;
}

int Route(const GlobalOptions &g, const std::vector<std::string> &args) {
    RouteArgs a;
    std::vector<std::string> words;
    if (auto e = ReadArgs(args, false, a, words); !e.empty()) return Usage(e);
    if (!words.empty()) return Usage("unexpected argument " + words[0]);
    WebCliSession session;
    if (!session.Open(g, "route")) return 1;
    const Options options = session.Opts();

    RoadPlanner p;
    p.usFrom = a.usFrom, p.usTo = a.usTo, p.euFrom = a.euFrom, p.euTo = a.euTo;
    p.fastest = a.fastest;
    p.configureClient = [&options](THttpCli &c) { ApplyProxySettings(c, options.proxy); };
    p.pump = [] { QCoreApplication::processEvents(); };
    Prepare(p, a);
    if (a.flip) p.Flip();

    bool plan = false;
    QObject::connect(&p, &RoadPlanner::notice,
                     [](const std::string &t) { std::fprintf(stderr, "quillmar-cli route: %s\n", t.c_str()); });
    QEventLoop loop;
    QObject::connect(&p, &RoadPlanner::finished, &loop, [&](bool ok) {
        plan = ok;
        loop.quit();
    });
    if (p.Request()) loop.exec();
    for (bool km : a.switches) p.SetKm(km);

    int rc = plan ? 0 : 1;
    if (!a.save.empty() && !p.SaveTo(a.save)) {
        std::fprintf(stderr, "quillmar-cli route: %s\n", FileNotWrittenMessage(a.save).c_str());
        rc = 1;
    }
    if (!a.print.empty() && !p.Rows().empty() &&
        !PrintRoadPlanToPdf(a.print, p.PrintHeadings(), p.Rows(), QGuiApplication::font())) {
        std::fprintf(stderr, "quillmar-cli route: %s\n", FileNotWrittenMessage(a.print).c_str());
        rc = 1;
    }
    std::printf("{\"request\": %s, \"rows\": %s, \"suggested_name\": %s}\n", JsonString(p.LastRequest()).c_str(),
                RowsJson(p.Rows()).c_str(), JsonString(p.SuggestedFileName()).c_str());
    return rc;
}

const CommandRegistration kRoute(
    "route",
    "road planner: [parse --planner us|eu [--km] [--switch km|miles]... --format json FILE] | "
    "--planner us|eu [--from-address|--from-city|--from-state|--from-zip|--to-... T] "
    "[--from-town|--from-code|--to-town|--to-code T] [--from-country|--to-country NAME|INDEX] [--fastest] [--km] "
    "[--flip] [--switch km|miles]... [--save FILE] [--print PDF] --format json",
    [](const GlobalOptions &g, std::vector<std::string> args) {
        if (!args.empty() && args[0] == "parse") return Parse({args.begin() + 1, args.end()});
        return Route(g, args);
    },
    /*paints=*/true);

}  // namespace
}  // namespace qm::cli
