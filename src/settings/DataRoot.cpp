#include "settings/DataRoot.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <pwd.h>
#include <unistd.h>

#include "settings/KeyValue.h"
#include "toolkit/AtomicFile.h"
#include "toolkit/Misc.h"

namespace qm {

namespace fs = std::filesystem;

namespace {

constexpr const char *kManifest = ".installed-resources";

std::string StripTrailingSlashes(std::string p) {
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

std::string Env(const char *name) {
    const char *v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

std::string Absolute(const std::string &p) {
    if (p.empty() || p.front() == '/') return p;
    std::error_code ec;
    fs::path abs = fs::absolute(p, ec);
    return ec ? p : abs.lexically_normal().string();
}

std::string Sha256(std::string_view bytes) {
    return QCryptographicHash::hash(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
                                    QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

// A bundled path must stay inside the root.
bool SafeRelative(std::string_view rel) {
    if (rel.empty() || rel.front() == '/') return false;
    for (const auto &part : fs::path(std::string(rel)))
        if (part == ".." || part == ".") return false;
    return true;
}

std::map<std::string, std::string> ReadManifest(const std::string &file) {
    std::map<std::string, std::string> m;
    std::vector<std::string> lines;
    if (!TMisc::LoadTextLines(file, lines)) return m;
    for (const auto &line : lines) {
        size_t tab = line.find('\t');
        if (tab == std::string::npos || tab == 0 || tab + 1 >= line.size()) continue;
        m[line.substr(tab + 1)] = line.substr(0, tab);
    }
    return m;
}

bool WriteManifest(const std::string &file, const std::map<std::string, std::string> &m) {
    std::string out = "# Files installed by Quillmar: hash, path. Changed files are never replaced.\n";
    for (const auto &[path, hash] : m) out += hash + "\t" + path + "\n";
    return WriteFileAtomic(file, out);
}

}  // namespace

std::string ExecutableFolder() {
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath().toStdString();
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return {};
    return fs::path(std::string(buf, static_cast<size_t>(n))).parent_path().string();
}

std::string InstalledDataFolder(const std::string &executableFolder) {
    if (executableFolder.empty()) return {};
    fs::path folder = (fs::path(executableFolder) / ".." / "share" / "quillmar").lexically_normal();
    std::error_code ec;
    return fs::is_directory(folder, ec) ? StripTrailingSlashes(folder.string()) : std::string();
}

std::string ChooseDataRoot(const DataRootInputs &in) {
    if (in.homeArgument && !in.homeArgument->empty()) return StripTrailingSlashes(*in.homeArgument);
    if (!in.envHome.empty()) return StripTrailingSlashes(in.envHome);
    if (!in.executableFolder.empty() && in.executableFolderWritable && !in.installed)
        return StripTrailingSlashes(in.executableFolder);
    if (!in.xdgDataHome.empty() && in.xdgDataHome.front() == '/')
        return StripTrailingSlashes(in.xdgDataHome) + "/quillmar";
    std::string home = in.userHome.empty() ? std::string(".") : StripTrailingSlashes(in.userHome);
    if (home == "/") home.clear();
    return home + "/.local/share/quillmar";
}

std::optional<std::string> HomeArgument(const std::vector<std::string> &args) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--home") {
            if (i + 1 < args.size()) return args[i + 1];
            return std::nullopt;
        }
        if (args[i].rfind("--home=", 0) == 0) return args[i].substr(7);
    }
    return std::nullopt;
}

DataRootInputs CurrentDataRootInputs(const std::vector<std::string> &args) {
    DataRootInputs in;
    if (auto h = HomeArgument(args)) in.homeArgument = Absolute(*h);
    in.envHome = Absolute(Env("QUILLMAR_HOME"));
    in.executableFolder = ExecutableFolder();
    in.executableFolderWritable = !in.executableFolder.empty() && ::access(in.executableFolder.c_str(), W_OK) == 0;
    in.installed = !InstalledDataFolder(in.executableFolder).empty();
    in.xdgDataHome = Env("XDG_DATA_HOME");
    in.userHome = Env("HOME");
    if (in.userHome.empty()) {
        if (const passwd *pw = ::getpwuid(::getuid()); pw && pw->pw_dir) in.userHome = pw->pw_dir;
    }
    return in;
}

std::string ResolveDataRoot(const std::string &home) {
    DataRootInputs in = CurrentDataRootInputs({});
    if (!home.empty()) in.homeArgument = Absolute(home);
    return ChooseDataRoot(in);
}

DataRoot::DataRoot(std::string root) : root_(StripTrailingSlashes(std::move(root))) {}

std::string DataRoot::path(std::string_view relative) const {
    std::string rel(relative);
    for (char &c : rel)
        if (c == '\\') c = '/';
    size_t start = rel.find_first_not_of('/');
    rel = start == std::string::npos ? std::string() : rel.substr(start);
    if (rel.empty()) return root_;
    return root_ == "/" ? "/" + rel : root_ + "/" + rel;
}

const std::vector<std::string> &DataRoot::CacheFolderNames() {
    static const std::vector<std::string> names = {"WEBSearch", "NEWSSearch", "WHOSearch", "Software",
                                                   "SoftSearch", "DailyNews", "ForumSearch", "MP3Search"};
    return names;
}

bool DataRoot::createFolders() const {
    std::vector<std::string> folders = {root_, optionsDir(), cacheDir()};
    for (const auto &n : CacheFolderNames()) folders.push_back(cacheFolder(n));
    bool ok = true;
    for (const auto &f : folders) {
        std::error_code ec;
        fs::create_directories(f, ec);
        if (!fs::is_directory(f, ec)) ok = false;
    }
    return ok;
}

namespace {

// Every file under `base` (which ends with "/"), dot files left out, sorted by path.
std::vector<BundledFile> FilesUnder(const QString &base) {
    std::vector<BundledFile> files;
    QDirIterator it(base, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QString p = it.next();
        if (it.fileName().startsWith('.')) continue;
        QFile f(p);
        if (!f.open(QIODevice::ReadOnly)) continue;
        QByteArray data = f.readAll();
        files.push_back({p.mid(base.size()).toStdString(), data.toStdString()});
    }
    std::sort(files.begin(), files.end(),
              [](const BundledFile &a, const BundledFile &b) { return a.relativePath < b.relativePath; });
    return files;
}

}  // namespace

std::vector<BundledFile> BundledFilesIn(const std::string &folder) {
    return FilesUnder(QString::fromStdString(StripTrailingSlashes(folder)) + "/");
}

std::vector<BundledFile> BundledResources() {
    const std::string installed = InstalledDataFolder(ExecutableFolder());
    if (!installed.empty()) {
        std::vector<BundledFile> files = BundledFilesIn(installed);
        if (!files.empty()) return files;
    }
    return FilesUnder(QStringLiteral(":/bundled/"));
}

InstallReport InstallResources(const DataRoot &root, const std::vector<BundledFile> &files) {
    InstallReport report;
    const std::string manifestFile = root.path(kManifest);
    std::map<std::string, std::string> manifest = ReadManifest(manifestFile);
    bool manifestChanged = false;
    for (const auto &file : files) {
        if (!SafeRelative(file.relativePath)) {
            ++report.failed;
            continue;
        }
        const std::string target = root.path(file.relativePath);
        const std::string bundledHash = Sha256(file.bytes);
        std::error_code ec;
        const bool exists = fs::exists(fs::symlink_status(target, ec));
        bool write = false;
        if (!exists) {
            write = true;
        } else {
            std::string current;
            if (fs::is_directory(target, ec) || !ReadWholeFile(target, current)) {
                ++report.kept;
                continue;
            }
            const std::string currentHash = Sha256(current);
            if (currentHash == bundledHash) {
                ++report.unchanged;
                if (manifest[file.relativePath] != bundledHash) {
                    manifest[file.relativePath] = bundledHash;
                    manifestChanged = true;
                }
                continue;
            }
            auto known = manifest.find(file.relativePath);
            if (known != manifest.end() && known->second == currentHash) write = true;  // ours, untouched
            else {
                ++report.kept;
                continue;
            }
        }
        if (write) {
            fs::create_directories(fs::path(target).parent_path(), ec);
            if (!WriteFileAtomic(target, file.bytes)) {
                ++report.failed;
                continue;
            }
            ++(exists ? report.updated : report.installed);
            manifest[file.relativePath] = bundledHash;
            manifestChanged = true;
        }
    }
    if (manifestChanged && !WriteManifest(manifestFile, manifest)) ++report.failed;
    return report;
}

bool PrepareDataRoot(const DataRoot &root) {
    if (!root.createFolders()) return false;
    InstallResources(root, BundledResources());
    return true;
}

struct RunDataRoot::Temp {
    QTemporaryDir dir{QDir::tempPath() + "/quillmar-demo-XXXXXX"};
};

RunDataRoot::RunDataRoot(const std::string &home, bool demo) {
    if (home.empty() && demo) {
        temp_ = std::make_unique<Temp>();
        if (temp_->dir.isValid()) {
            path_ = temp_->dir.path().toStdString();
            temporary_ = true;
            return;
        }
        temp_.reset();  // no temporary folder: the usual root rather than none
    }
    path_ = ResolveDataRoot(home);
}

RunDataRoot::~RunDataRoot() = default;

}  // namespace qm
