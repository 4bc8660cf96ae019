// quillmar-cli currency: the currency converter without a window.
//   currency --list                                   the 167 currencies
//   currency parse [--amount TEXT] FILE               the rate reader on a saved answer
//   currency [--flip N] [--no-convert] -- AMOUNT FROM TO
//       one conversion over the network (--demo: on the fake web), then N flips
#include "cli/WebCli.h"
#include "net/HttpCli.h"
#include "net/Proxy.h"
#include "toolkit/AtomicFile.h"
#include "toolkit/Misc.h"
#include "tools/Currency.h"
#include "tools/CurrencyConverter.h"
#include "tools/NumberText.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

namespace {

constexpr const char *kUsage =
    "--list | parse [--amount TEXT] FILE | [--flip N] [--no-convert] -- AMOUNT FROM TO   (--format json|tsv)";

int Fail(const std::string &message) {
    std::fprintf(stderr, "quillmar-cli currency: %s\nusage: quillmar-cli currency %s\n", message.c_str(), kUsage);
    return 2;
}

std::string Number(std::optional<double> v) {
    if (!v || !std::isfinite(*v)) return "null";
    char text[64];
    auto r = std::to_chars(text, text + sizeof text, *v);
    return std::string(text, r.ptr);
}

std::string Text(const std::optional<std::string> &s) {
    if (!s) return "null";
    std::string out;
    qm::AppendJsonString(out, *s);
    return out;
}

void Print(const std::string &out) { std::fwrite(out.data(), 1, out.size(), stdout); }

int List(const std::string &format) {
    std::string out = format == "json" ? "[" : "";
    for (int i = 0; i < qm::kCurrencyCount; ++i) {
        const auto &c = qm::CurrencyTable()[size_t(i)];
        if (format == "json") {
            out += (i ? ",\n  {\"index\": " : "\n  {\"index\": ") + std::to_string(i) + ", \"name\": " + Text(c.name) +
                   ", \"code\": " + Text(c.code) + "}";
        } else {
            out += std::to_string(i) + "\t" + c.name + "\t" + c.code + "\n";
        }
    }
    if (format == "json") out += "\n]\n";
    Print(out);
    return 0;
}

int Parse(const std::string &file, const std::string &amount, const std::string &format) {
    std::string body;
    if (!qm::ReadWholeFile(file, body)) {
        std::fprintf(stderr, "quillmar-cli currency: cannot read %s\n", file.c_str());
        return 1;
    }
    std::optional<double> rate;
    if (auto value = qm::ScanQuoteAnswer(body)) rate = qm::RateFromValue(*value);
    std::optional<std::string> result;
    if (rate) result = qm::FormatGeneral(*rate * qm::ReadDecimal(qm::Trim(amount)), qm::RegionalDecimalSeparator());
    if (format == "json")
        Print(std::string("{\"found\": ") + (rate ? "true" : "false") + ", \"rate\": " + Number(rate) +
              ", \"result\": " + Text(result) + "}\n");
    else
        Print(rate ? Number(rate) + "\t" + *result + "\n" : "not found\n");
    return rate ? 0 : 1;
}

int Convert(const qm::cli::GlobalOptions &g, const std::vector<std::string> &words, int flips, bool convert,
            const std::string &format) {
    const int from = qm::FindCurrency(words[1]), to = qm::FindCurrency(words[2]);
    if (from < 0 || to < 0) return Fail("unknown currency \"" + words[from < 0 ? 1 : 2] + "\"");
    qm::cli::WebCliSession session;
    if (!session.Open(g, "currency")) return 1;

    qm::CurrencyEnvironment env;
    const qm::ProxyOptions proxy = session.Opts().proxy;
    env.configureClient = [proxy](qm::THttpCli &c) { qm::ApplyProxySettings(c, proxy); };
    env.message = [](const std::string &text) { std::fprintf(stderr, "quillmar-cli currency: %s\n", text.c_str()); };
    env.pump = [] { QCoreApplication::processEvents(); };
    qm::CurrencyConverter conv(std::move(env));
    conv.SetFrom(from);
    conv.SetTo(to);
    conv.SetAmount(words[0]);

    std::optional<std::string> request, result;
    std::optional<double> rate;
    bool found = false;
    if (convert) {
        QEventLoop loop;
        QObject::connect(&conv, &qm::CurrencyConverter::finished, &loop, [&](bool ok) {
            found = ok;
            loop.quit();
        });
        if (!conv.Start()) return Fail("nothing to convert");
        request = conv.LastRequest();
        loop.exec();
        if (found) rate = conv.LastRate(), result = conv.Shown();
    }
    std::string flipText = "[";
    for (int i = 0; i < flips; ++i) {
        conv.Flip();
        const auto &t = qm::CurrencyTable();
        flipText += std::string(i ? ", " : "") + "{\"from\": " + Text(t[size_t(conv.From())].code) +
                    ", \"to\": " + Text(t[size_t(conv.To())].code) + ", \"result\": " + Text(conv.Shown()) + "}";
    }
    flipText += "]";
    if (format == "json") {
        Print("{\"request\": " + Text(request) + ", \"found\": " + (found ? "true" : "false") + ", \"rate\": " +
              Number(rate) + ", \"result\": " + Text(result) + ", \"last_rate\": " + Number(conv.LastRate()) +
              ", \"flips\": " + flipText + "}\n");
    } else {
        Print((request ? *request : "-") + "\t" + (result ? *result : "not found") + "\n");
    }
    return convert && !found ? 1 : 0;
}

int RunCurrency(const qm::cli::GlobalOptions &g, std::vector<std::string> args) {
    bool list = false, convert = true;
    std::string format = "json", amount = "1.0", flips = "0";
    std::vector<std::string> words;
    const std::string error = qm::cli::SplitArguments(
        args, {"--format", "--amount", "--flip"}, {"--list", "--no-convert"},
        [&](const std::string &a, const std::string &v) -> std::string {
            if (a == "--list") list = true;
            else if (a == "--no-convert") convert = false;
            else if (a == "--format") format = v;
            else if (a == "--amount") amount = v;
            else if (a == "--flip") flips = v;
            return "";
        },
        words);
    if (!error.empty()) return Fail(error);
    if (format != "json" && format != "tsv") return Fail("unknown format " + format);
    if (list) return words.empty() ? List(format) : Fail("--list takes nothing else");
    if (!words.empty() && words[0] == "parse") {
        if (words.size() != 2) return Fail("parse needs one FILE");
        return Parse(words[1], amount, format);
    }
    if (words.size() != 3) return Fail("expected AMOUNT FROM TO");
    if (flips.empty() || flips.find_first_not_of("0123456789") != std::string::npos || flips.size() > 6)
        return Fail("--flip needs a count");
    return Convert(g, words, std::stoi(flips), convert, format);
}

qm::cli::CommandRegistration registration("currency", kUsage, RunCurrency);

}  // namespace
