#pragma once
// The data root: the folder that holds the options, the caches and the bundled data
// (languages, sounds, pictures, engine definitions).
//
// It is `--home DIR`, else $QUILLMAR_HOME, else the executable's folder when writable and
// the program is not installed, else $XDG_DATA_HOME/quillmar (~/.local/share/quillmar by
// default). An installed program (its bundled data in "../share/quillmar" beside its
// folder, as in /usr/bin and /usr/share/quillmar) never writes into its own folder, even
// when it could (run as root).
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

struct DataRootInputs {
    std::optional<std::string> homeArgument;  // from --home DIR or --home=DIR
    std::string envHome;                      // $QUILLMAR_HOME
    std::string executableFolder;
    bool executableFolderWritable = false;
    bool installed = false;   // the bundled data folder sits beside the executable's folder
    std::string xdgDataHome;  // $XDG_DATA_HOME; only an absolute path counts
    std::string userHome;     // $HOME
};

// Picks the data root from the inputs by the precedence above. Empty inputs do not count;
// trailing slashes are removed.
std::string ChooseDataRoot(const DataRootInputs &in);

// The value of the first "--home DIR" or "--home=DIR" among the arguments (argv[0] excluded).
std::optional<std::string> HomeArgument(const std::vector<std::string> &args);

// The inputs of the running process: the arguments, its environment, its executable.
// A relative --home or $QUILLMAR_HOME is taken relative to the current folder.
DataRootInputs CurrentDataRootInputs(const std::vector<std::string> &args);

// The data root of the running process: `home` (from --home, made absolute) when not
// empty, else the rule above.
std::string ResolveDataRoot(const std::string &home);

// The folder of the running executable ("/usr/bin" when installed).
std::string ExecutableFolder();

// The installed bundled data of a program in `executableFolder`: "../share/quillmar"
// beside it when that folder exists ("/usr/share/quillmar" for "/usr/bin"), else "".
std::string InstalledDataFolder(const std::string &executableFolder);

class DataRoot {
public:
    explicit DataRoot(std::string root);

    const std::string &root() const { return root_; }
    // Root + "/" + relative; backslashes of the relative path are read as slashes and a
    // leading separator is not doubled ("\Sounds\Start.wav" gives "<root>/Sounds/Start.wav").
    std::string path(std::string_view relative) const;

    std::string optionsDir() const { return path("Options"); }
    std::string cacheDir() const { return path("Cache"); }
    std::string optionsFile() const { return path("Options/Configuration.ini"); }
    std::string languageDir() const { return path("Language"); }
    std::string enginesDir() const { return path("Engines"); }
    std::string soundsDir() const { return path("Sounds"); }
    // One of CacheFolderNames() under the cache folder.
    std::string cacheFolder(std::string_view name) const { return cacheDir() + "/" + std::string(name); }

    // The per-search folders under "Cache": "WEBSearch", "NEWSSearch", "WHOSearch",
    // "Software", "SoftSearch", "DailyNews", "ForumSearch", "MP3Search".
    static const std::vector<std::string> &CacheFolderNames();

    // Creates the root, "Options", "Cache" and the cache folders. False when one of them
    // does not exist afterwards.
    bool createFolders() const;

private:
    std::string root_;
};

// One file of the bundled data, by its path relative to the data root.
struct BundledFile {
    std::string relativePath;  // "Language/English.language"
    std::string bytes;
};

// The bundled data: the installed folder (InstalledDataFolder) when there is one, else
// the copy of resources/ compiled into the program. Sorted by path.
std::vector<BundledFile> BundledResources();
// The files under `folder` (dot files left out), by their paths relative to it.
std::vector<BundledFile> BundledFilesIn(const std::string &folder);

struct InstallReport {
    int installed = 0;  // missing files copied
    int updated = 0;    // files the user had not changed, replaced by a newer bundled version
    int kept = 0;       // files the user changed (or that were not ours), left alone
    int unchanged = 0;  // already identical
    int failed = 0;
};

// The manifest (".installed-resources" in the root) records the hash of every file this
// program installed. A bundled file is copied when missing; a present file is replaced only
// when it still has the hash recorded at its installation, so a user's change survives
// every later version.
InstallReport InstallResources(const DataRoot &root, const std::vector<BundledFile> &files);

// Start-up: creates the folders and installs the bundled resources. False when the
// folders cannot be made.
bool PrepareDataRoot(const DataRoot &root);

// The data root of one run of the window or of quillmar-cli: `home` (from --home) when
// given; else, for a demo run, a fresh temporary folder removed when the run ends; else
// ResolveDataRoot's rule. The folder is not created here (PrepareDataRoot does that).
class RunDataRoot {
public:
    RunDataRoot(const std::string &home, bool demo);
    ~RunDataRoot();
    RunDataRoot(const RunDataRoot &) = delete;
    RunDataRoot &operator=(const RunDataRoot &) = delete;

    const std::string &path() const { return path_; }
    bool temporary() const { return temporary_; }

private:
    struct Temp;
    std::unique_ptr<Temp> temp_;
    std::string path_;
    bool temporary_ = false;
};

}  // namespace qm
