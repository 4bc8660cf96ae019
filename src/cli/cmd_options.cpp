// quillmar-cli options: the settings of the options file, through the options window's models.
//   options list [--format tsv|json]
//   options get KEY
//   options set KEY VALUE [KEY VALUE...]      every pair checked before anything is written
//   options color-save NAME BEGIN END TEXT
//   options caches TYPE [--remove-words WORD...] [--remove-files NAME...] [--format json]
#include "cli/Command.h"
#include "settings/DataRoot.h"
#include "settings/OptionsEdit.h"
#include "toolkit/DisplayText.h"
#include "toolkit/JsonText.h"
#include "toolkit/Misc.h"

#include <cstdio>

namespace {

constexpr const char *kUsage =
    "list [--format tsv|json] | get KEY | set KEY VALUE [KEY VALUE...] | color-save NAME BEGIN END TEXT | "
    "caches TYPE [--remove-words WORD...] [--remove-files NAME...] [--format json]";

int Fail(const std::string &message) {
    std::fprintf(stderr, "quillmar-cli options: %s\nusage: quillmar-cli options %s\n", message.c_str(), kUsage);
    return 2;
}

int Refused(const std::string &message) {
    std::fprintf(stderr, "quillmar-cli options: %s\n", message.c_str());
    return 2;
}

int Save(const qm::Options &opt, const qm::DataRoot &root) {
    if (qm::SaveOptions(opt, root)) return 0;
    std::fprintf(stderr, "quillmar-cli options: cannot write %s\n", root.optionsFile().c_str());
    return 1;
}

int List(const qm::Options &opt, const std::vector<std::string> &args) {
    std::string format = "tsv";
    if (args.size() == 2 && args[0] == "--format") format = args[1];
    else if (!args.empty()) return Fail("list takes only --format");
    if (format != "tsv" && format != "json") return Fail("unknown format " + format);
    std::string out;
    const auto entries = qm::ListOptionEntries(opt);
    if (format == "tsv") {
        for (const auto &e : entries) out += e.key + "\t" + e.value + "\n";
    } else {
        out = "[";
        for (size_t i = 0; i < entries.size(); ++i) {
            out += i ? ",\n  {\"key\": " : "\n  {\"key\": ";
            qm::AppendJsonString(out, entries[i].key);
            out += ", \"value\": ";
            qm::AppendJsonString(out, qm::TypedText(qm::DisplayText(entries[i].value)));
            out += ", \"type\": ";
            qm::AppendJsonString(out, entries[i].type);
            out += "}";
        }
        out += "\n]\n";
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

int Caches(const qm::DataRoot &root, const std::vector<std::string> &args) {
    if (args.empty()) return Fail("caches needs a TYPE (0-6)");
    const std::string &t = args[0];
    if (t.size() != 1 || t[0] < '0' || t[0] > '6') return Fail("TYPE is a number from 0 to 6");
    const int type = t[0] - '0';
    std::vector<std::string> words, files;
    std::vector<std::string> *into = nullptr;
    bool json = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string &a = args[i];
        if (a == "--remove-words") into = &words;
        else if (a == "--remove-files") into = &files;
        else if (a == "--format") {
            if (i + 1 >= args.size()) return Fail("--format needs a value");
            const std::string &f = args[++i];
            if (f != "json" && f != "tsv") return Fail("unknown format " + f);
            json = f == "json";
            into = nullptr;
        } else if (into) into->push_back(a);
        else return Fail("unexpected " + a);
    }
    for (const auto &n : files)
        if (n.find('/') != std::string::npos || n.find("..") != std::string::npos)
            return Refused("--remove-files: a name with \"/\" or \"..\" is refused: " + n);

    const qm::DataFolders folders{root.root()};
    const qm::CacheTypeInfo &info = qm::CacheType(type);
    qm::HistoryBox history;
    const std::string historyFile = folders.HistoryFile(info.history);
    qm::TMisc::LoadHistory(historyFile, history);
    if (!words.empty()) {
        qm::RemoveHistoryWords(history, words);
        if (!qm::TMisc::SaveHistory(historyFile, history)) return Refused("cannot write " + historyFile);
    }
    qm::CacheListing listing = qm::ListCacheType(folders, history, type);
    if (!files.empty() && listing.files) {
        std::vector<qm::CacheFileRow> chosen;
        for (const auto &row : *listing.files)
            for (const auto &n : files)
                if (row.caption == n) chosen.push_back(row);
        qm::RemoveCacheFiles(folders, type, chosen);
        listing = qm::ListCacheType(folders, history, type);
    }

    std::string out;
    if (json) {
        out = "{\"words\": [";
        for (size_t i = 0; i < listing.words.size(); ++i) {
            if (i) out += ", ";
            qm::AppendJsonString(out, qm::TypedText(qm::DisplayText(listing.words[i])));
        }
        out += "], \"files\": ";
        if (!listing.files) {
            out += "null";
        } else {
            out += "[";
            for (size_t i = 0; i < listing.files->size(); ++i) {
                const auto &f = (*listing.files)[i];
                out += i ? ", {\"name\": " : "{\"name\": ";
                qm::AppendJsonString(out, qm::TypedText(qm::DisplayText(f.caption)));
                out += ", \"size\": ";
                qm::AppendJsonString(out, f.size);
                out += "}";
            }
            out += "]";
        }
        out += ", \"label\": ";
        if (listing.label) qm::AppendJsonString(out, *listing.label);
        else out += "null";
        out += "}\n";
    } else {
        for (const auto &w : listing.words) out += "word\t" + w + "\n";
        if (listing.files)
            for (const auto &f : *listing.files) out += "file\t" + f.caption + "\t" + f.size + "\n";
        if (listing.label) out += "label\t" + *listing.label + "\n";
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

int RunOptions(const qm::cli::GlobalOptions &global, std::vector<std::string> args) {
    if (args.empty()) return Fail("a subcommand is needed");
    const std::string sub = args[0];
    args.erase(args.begin());
    const qm::DataRoot root(global.home);
    qm::Options opt;
    qm::LoadOptions(opt, root);

    if (sub == "list") return List(opt, args);
    if (sub == "get") {
        if (args.size() != 1) return Fail("get takes one KEY");
        auto key = qm::CanonicalOptionKey(opt, args[0]);
        if (!key) return Refused("unknown key " + args[0]);
        for (const auto &e : qm::ListOptionEntries(opt))
            if (e.key == *key) std::printf("%s\n", e.value.c_str());
        return 0;
    }
    if (sub == "set") {
        if (args.empty() || args.size() % 2) return Fail("set takes KEY VALUE pairs");
        qm::Options edited = opt;
        for (size_t i = 0; i < args.size(); i += 2) {
            auto key = qm::CanonicalOptionKey(edited, args[i]);
            if (!key) return Refused("unknown key " + args[i]);
            const std::string error = qm::SetOptionValue(edited, *key, args[i + 1], root.languageDir());
            if (!error.empty()) return Refused(error);
        }
        return Save(edited, root);
    }
    if (sub == "color-save") {
        if (args.size() != 5 - 1) return Fail("color-save takes NAME BEGIN END TEXT");
        int colors[3];
        for (int i = 0; i < 3; ++i) {
            const std::string &c = args[size_t(i) + 1];
            bool digits = !c.empty() && c.size() <= 8 && c.find_first_not_of("0123456789") == std::string::npos;
            if (!digits || qm::Atol(c) > 16777215) return Refused("colours are numbers from 0 to 16777215: " + c);
            colors[i] = int(qm::Atol(c));
        }
        if (args[0].find_first_of("\r\n") != std::string::npos) return Refused("NAME accepts no line break");
        if (qm::SaveColorModel(opt, args[0], colors[0], colors[1], colors[2]) < 0)
            return Refused("NAME accepts a name that is not empty");
        return Save(opt, root);
    }
    if (sub == "caches") return Caches(root, args);
    return Fail("unknown subcommand " + sub);
}

const qm::cli::CommandRegistration kRegistration("options", kUsage, RunOptions);

}  // namespace
