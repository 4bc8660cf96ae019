// quillmar-cli language: the language files, as the windows apply them.
//   language list [--format json]                      the names, directory order
//   language apply NAME|--file FILE [--format json]    the built-in texts after both passes
#include "cli/Command.h"
#include "settings/DataRoot.h"
#include "settings/Language.h"
#include "settings/Opt.h"
#include "toolkit/JsonText.h"
#include "toolkit/Misc.h"

#include <cstdio>
#include <filesystem>

namespace {

constexpr const char *kUsage = "list [--format json] | apply NAME|--file FILE [--format json]";

int Fail(const std::string &message) {
    std::fprintf(stderr, "quillmar-cli language: %s\nusage: quillmar-cli language %s\n", message.c_str(), kUsage);
    return 2;
}

void Str(std::string &out, const std::string &s) { qm::AppendJsonString(out, s); }

void StrList(std::string &out, const std::vector<std::string> &list) {
    out += "[";
    for (size_t i = 0; i < list.size(); ++i) {
        if (i) out += ", ";
        Str(out, list[i]);
    }
    out += "]";
}

template <size_t N>
void StrArray(std::string &out, const std::array<std::string, N> &a) {
    StrList(out, std::vector<std::string>(a.begin(), a.end()));
}

void Country(std::string &out, const std::string &c) {
    if (c.empty()) out += "null";
    else Str(out, c);
}

std::string Json(const qm::LanguageTexts &t) {
    std::string out = "{\"language\": ";
    Str(out, t.language);
    out += t.fileRead ? ", \"file\": true" : ", \"file\": false";
    out += ",\n \"texts\": {";
    bool first = true;
    for (const auto &k : qm::LanguageKeyList()) {
        out += first ? "\n  " : ",\n  ";
        first = false;
        Str(out, k.key);
        out += ": ";
        Str(out, t.Text(k.key));
    }
    out += "},\n \"alerts\": {";
    first = true;
    for (int m = 0; m < qm::kMessageCount; ++m) {
        std::string_view key = qm::MessageTable::LanguageKey(qm::Msg(m));
        if (key.empty() || key[0] != '<') continue;
        out += first ? "\n  " : ",\n  ";
        first = false;
        Str(out, std::string(key));
        out += ": ";
        Str(out, t.messages.Text(qm::Msg(m)));
    }
    out += "},\n \"help\": {";
    for (int i = 0; i < qm::kHelpListCount; ++i) {
        out += i ? ",\n  " : "\n  ";
        Str(out, qm::HelpListKeys()[size_t(i)]);
        out += ": ";
        StrList(out, t.help[size_t(i)]);
    }
    out += "},\n \"charset\": " + std::to_string(t.charset);
    const qm::DerivedCaptions d = t.Derived();
    out += ",\n \"derived\": {\"options_title\": ";
    Str(out, d.optionsTitle);
    out += ", \"news_search_button\": ";
    Str(out, d.newsSearchButton);
    out += ", \"software_search_button\": ";
    Str(out, d.softwareSearchButton);
    out += ", \"cache_types\": ";
    StrArray(out, d.cacheTypes);
    out += ", \"startup_entries\": ";
    StrArray(out, d.startupEntries);
    out += "},\n \"countries\": {\"news\": ";
    Country(out, t.countries.news);
    out += ", \"road\": ";
    Country(out, t.countries.road);
    out += "}}\n";
    return out;
}

std::string Text(const qm::LanguageTexts &t) {
    std::string out;
    for (const auto &k : qm::LanguageKeyList()) out += std::string(k.key) + "\t" + t.Text(k.key) + "\n";
    return out;
}

int RunLanguage(const qm::cli::GlobalOptions &global, std::vector<std::string> args) {
    if (args.empty()) return Fail("a subcommand is needed");
    const std::string sub = args[0];
    const qm::DataRoot root(global.home);
    std::string format = "tsv", name, file;
    bool haveFile = false;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--format" || args[i] == "--file") {
            if (i + 1 >= args.size()) return Fail(args[i] + " needs a value");
            (args[i] == "--format" ? format : file) = args[i + 1];
            haveFile = haveFile || args[i] == "--file";
            ++i;
        } else if (name.empty() && sub == "apply" && args[i].rfind("--", 0) != 0) {
            name = args[i];
        } else {
            return Fail("unexpected " + args[i]);
        }
    }
    if (format != "json" && format != "tsv") return Fail("unknown format " + format);
    if (sub == "list") {
        const auto names = qm::ListLanguages(root.languageDir());
        std::string out;
        if (format == "json") {
            StrList(out, names);
            out += "\n";
        } else {
            for (const auto &n : names) out += n + "\n";
        }
        std::fwrite(out.data(), 1, out.size(), stdout);
        return 0;
    }
    if (sub != "apply") return Fail("unknown subcommand " + sub);
    if (haveFile == !name.empty()) return Fail("apply takes a NAME or --file FILE");
    qm::LanguageTexts texts;
    if (haveFile) {
        std::string stem = std::filesystem::path(file).filename().string();
        const std::string ext = ".language";
        if (stem.size() >= ext.size() && qm::SameTextNoCase(stem.substr(stem.size() - ext.size()), ext))
            stem.erase(stem.size() - ext.size());
        qm::ApplyLanguageFile(texts, file, stem);
        qm::ApplyLanguageBlocksFile(texts, file);
    } else {
        if (name.find('/') != std::string::npos) return Fail("a language NAME holds no \"/\"");
        qm::ApplyLanguage(texts, root.languageDir(), name);
        qm::ApplyLanguageBlocks(texts, root.languageDir(), name);
    }
    const std::string out = format == "json" ? Json(texts) : Text(texts);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

const qm::cli::CommandRegistration kRegistration("language", kUsage, RunLanguage);

}  // namespace
