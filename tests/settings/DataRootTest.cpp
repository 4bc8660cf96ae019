#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

#include "settings/DataRoot.h"
#include "settings/KeyValue.h"
#include "settings/Opt.h"
#include "toolkit/Misc.h"
#include "toolkit/AtomicFile.h"

using namespace qm;

namespace {

std::string Read(const std::string &path) {
    std::string s;
    ReadWholeFile(path, s);
    return s;
}

void Write(const std::string &path, const std::string &bytes) { std::ofstream(path, std::ios::binary) << bytes; }

}  // namespace

TEST(DataRootChoice, Precedence) {
    DataRootInputs in;
    in.homeArgument = "/a/home/";
    in.envHome = "/b";
    in.executableFolder = "/opt/quillmar/bin";
    in.executableFolderWritable = true;
    in.xdgDataHome = "/xdg";
    in.userHome = "/home/u";
    EXPECT_EQ(ChooseDataRoot(in), "/a/home");
    in.homeArgument = "";  // an empty --home does not count
    EXPECT_EQ(ChooseDataRoot(in), "/b");
    in.homeArgument.reset();
    EXPECT_EQ(ChooseDataRoot(in), "/b");
    in.envHome.clear();
    EXPECT_EQ(ChooseDataRoot(in), "/opt/quillmar/bin");
    in.installed = true;  // /usr/bin run as root: writable, still not the data root
    EXPECT_EQ(ChooseDataRoot(in), "/xdg/quillmar");
    in.installed = false;
    in.executableFolderWritable = false;
    EXPECT_EQ(ChooseDataRoot(in), "/xdg/quillmar");
    in.xdgDataHome = "relative/xdg";  // not absolute: ignored
    EXPECT_EQ(ChooseDataRoot(in), "/home/u/.local/share/quillmar");
    in.xdgDataHome.clear();
    in.userHome = "/";
    EXPECT_EQ(ChooseDataRoot(in), "/.local/share/quillmar");
}

TEST(DataRootChoice, HomeArgumentForms) {
    EXPECT_EQ(HomeArgument({"--home", "/x"}), "/x");
    EXPECT_EQ(HomeArgument({"query", "--home=/y", "--home", "/z"}), "/y");
    EXPECT_EQ(HomeArgument({"--home"}), std::nullopt);
    EXPECT_EQ(HomeArgument({"--homeless", "/x"}), std::nullopt);
    // The running process: --home wins and a relative one is made absolute.
    DataRootInputs in = CurrentDataRootInputs({"--home", "rel/dir"});
    ASSERT_TRUE(in.homeArgument.has_value());
    EXPECT_EQ(in.homeArgument->front(), '/');
    EXPECT_NE(in.homeArgument->find("rel/dir"), std::string::npos);
    EXPECT_FALSE(in.executableFolder.empty());
}

TEST(DataRootChoice, InstalledLayoutAndItsBundledData) {
    QTemporaryDir dir;
    const std::string usr = dir.path().toStdString() + "/usr";
    std::filesystem::create_directories(usr + "/bin");
    EXPECT_EQ(InstalledDataFolder(usr + "/bin"), "");  // a build folder: nothing installed
    EXPECT_EQ(InstalledDataFolder(""), "");
    std::filesystem::create_directories(usr + "/share/quillmar/GFX");
    std::filesystem::create_directories(usr + "/share/quillmar/Language");
    EXPECT_EQ(InstalledDataFolder(usr + "/bin/"), usr + "/share/quillmar");
    Write(usr + "/share/quillmar/GFX/logo.gif", "GIF89a");
    Write(usr + "/share/quillmar/Language/English.language", "$BT_WEB = Search\r\n");
    Write(usr + "/share/quillmar/.hidden", "not ours");
    auto files = BundledFilesIn(usr + "/share/quillmar/");
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].relativePath, "GFX/logo.gif");
    EXPECT_EQ(files[0].bytes, "GIF89a");
    EXPECT_EQ(files[1].relativePath, "Language/English.language");

    // What an installed program finds goes into the user's data root.
    DataRoot root(dir.path().toStdString() + "/home/.local/share/quillmar");
    ASSERT_TRUE(root.createFolders());
    EXPECT_EQ(InstallResources(root, files).installed, 2);
    EXPECT_EQ(Read(root.path("GFX/logo.gif")), "GIF89a");
}

TEST(DataRootChoice, RunRootOfHomeDemoAndNeither) {
    QTemporaryDir dir;
    const char *old = std::getenv("QUILLMAR_HOME");
    const std::string saved = old ? old : "";
    setenv("QUILLMAR_HOME", (dir.path().toStdString() + "/env").c_str(), 1);
    struct Case {
        std::string home;
        bool demo;
        std::string expected;  // "" for a temporary folder
    } cases[] = {
        {dir.path().toStdString() + "/given/", false, dir.path().toStdString() + "/given"},
        {dir.path().toStdString() + "/given", true, dir.path().toStdString() + "/given"},  // --home wins over --demo
        {"", false, dir.path().toStdString() + "/env"},
        {"", true, ""},
    };
    for (const auto &c : cases) {
        std::string temporary;
        {
            RunDataRoot run(c.home, c.demo);
            if (!c.expected.empty()) {
                EXPECT_EQ(run.path(), c.expected) << c.home << " " << c.demo;
                EXPECT_FALSE(run.temporary());
                continue;
            }
            EXPECT_TRUE(run.temporary());
            temporary = run.path();
            EXPECT_TRUE(std::filesystem::is_directory(temporary));
            EXPECT_NE(temporary, dir.path().toStdString() + "/env");
        }
        EXPECT_FALSE(std::filesystem::exists(temporary)) << "the demo's folder outlives its run";
    }
    // A relative --home is taken from the current folder.
    RunDataRoot relative("rel/dir", false);
    EXPECT_EQ(relative.path(), (std::filesystem::current_path() / "rel/dir").lexically_normal().string());
    if (saved.empty()) unsetenv("QUILLMAR_HOME");
    else setenv("QUILLMAR_HOME", saved.c_str(), 1);
}

TEST(DataRootFolders, PathsAndCreation) {
    QTemporaryDir dir;
    DataRoot root(dir.path().toStdString() + "/data/");
    EXPECT_EQ(root.path("\\Sounds\\Start.wav"), dir.path().toStdString() + "/data/Sounds/Start.wav");
    EXPECT_EQ(root.optionsFile(), root.root() + "/Options/Configuration.ini");
    ASSERT_TRUE(root.createFolders());
    EXPECT_TRUE(std::filesystem::is_directory(root.optionsDir()));
    ASSERT_EQ(DataRoot::CacheFolderNames().size(), 8u);
    for (const auto &name : DataRoot::CacheFolderNames())
        EXPECT_TRUE(std::filesystem::is_directory(root.cacheFolder(name))) << name;
    // A plain file where the cache folder belongs makes the creation fail.
    DataRoot blocked(dir.path().toStdString() + "/blocked");
    std::filesystem::create_directories(blocked.root());
    Write(blocked.cacheDir(), "file");
    EXPECT_FALSE(blocked.createFolders());
}

TEST(BundledData, TheProgramCarriesItsResources) {
    auto files = BundledResources();
    auto find = [&](const std::string &rel) -> const BundledFile * {
        for (const auto &f : files)
            if (f.relativePath == rel) return &f;
        return nullptr;
    };
    for (const char *wav : {"Sounds/Start.wav", "Sounds/Stop.wav"}) {
        const BundledFile *f = find(wav);
        ASSERT_NE(f, nullptr) << wav;
        EXPECT_LT(f->bytes.size(), 50u * 1024);
        ASSERT_GT(f->bytes.size(), 44u);
        EXPECT_EQ(f->bytes.substr(0, 4), "RIFF");
        EXPECT_EQ(f->bytes.substr(8, 4), "WAVE");
        // PCM (format 1), 16 bits per sample.
        EXPECT_EQ(f->bytes[20], 1);
        EXPECT_EQ(f->bytes[34], 16);
    }
    ASSERT_NE(find("Language/English.language"), nullptr);
}

TEST(BundledData, InstallNeverOverwritesUserChanges) {
    QTemporaryDir dir;
    DataRoot root(dir.path().toStdString());
    std::vector<BundledFile> v1 = {{"Language/English.language", "$BT_WEB = Search\r\n"},
                                   {"Sounds/Start.wav", "tone 1"},
                                   {"Sounds/Stop.wav", "tone 2"}};
    InstallReport r = InstallResources(root, v1);
    EXPECT_EQ(r.installed, 3);
    EXPECT_EQ(Read(root.path("Sounds/Start.wav")), "tone 1");
    r = InstallResources(root, v1);
    EXPECT_EQ(r.unchanged, 3);
    EXPECT_EQ(r.installed + r.updated + r.kept + r.failed, 0);

    // The user edits the language file and deletes a sound.
    Write(root.path("Language/English.language"), "$BT_WEB = Find\r\n");
    std::filesystem::remove(root.path("Sounds/Stop.wav"));
    std::vector<BundledFile> v2 = {{"Language/English.language", "$BT_WEB = Search now\r\n"},
                                   {"Sounds/Start.wav", "tone 1, better"},
                                   {"Sounds/Stop.wav", "tone 2"},
                                   {"../outside", "no"}};
    r = InstallResources(root, v2);
    EXPECT_EQ(Read(root.path("Language/English.language")), "$BT_WEB = Find\r\n");  // user's change kept
    EXPECT_EQ(Read(root.path("Sounds/Start.wav")), "tone 1, better");             // untouched: updated
    EXPECT_EQ(Read(root.path("Sounds/Stop.wav")), "tone 2");                      // missing: reinstalled
    EXPECT_FALSE(std::filesystem::exists(dir.path().toStdString() + "/../outside"));
    EXPECT_EQ(r.kept, 1);
    EXPECT_EQ(r.updated, 1);
    EXPECT_EQ(r.installed, 1);
    EXPECT_EQ(r.failed, 1);

    // Still the user's after yet another version.
    r = InstallResources(root, v2);
    EXPECT_EQ(Read(root.path("Language/English.language")), "$BT_WEB = Find\r\n");
    EXPECT_EQ(r.kept, 1);
}

TEST(BundledData, FilesThatWereThereBeforeAreNotReplaced) {
    QTemporaryDir dir;
    DataRoot root(dir.path().toStdString());
    std::filesystem::create_directories(root.path("Sounds"));
    Write(root.path("Sounds/Start.wav"), "the user's own sound");
    InstallReport r = InstallResources(root, {{"Sounds/Start.wav", "bundled"}});
    EXPECT_EQ(r.kept, 1);
    EXPECT_EQ(Read(root.path("Sounds/Start.wav")), "the user's own sound");
    // A damaged manifest is no permission to overwrite.
    Write(root.path(".installed-resources"), "garbage\n\t\nnohash\tSounds/Start.wav\n");
    r = InstallResources(root, {{"Sounds/Start.wav", "bundled"}});
    EXPECT_EQ(Read(root.path("Sounds/Start.wav")), "the user's own sound");
}

TEST(BundledData, PrepareDataRootInstallsTheRealResources) {
    QTemporaryDir dir;
    DataRoot root(dir.path().toStdString() + "/fresh");
    ASSERT_TRUE(PrepareDataRoot(root));
    EXPECT_TRUE(std::filesystem::is_directory(root.cacheFolder("MP3Search")));
    EXPECT_EQ(Read(root.path("Sounds/Start.wav")).substr(0, 4), "RIFF");
    std::vector<std::string> lines;
    ASSERT_TRUE(TMisc::LoadTextLines(root.path("Language/English.language"), lines));
    EXPECT_GT(lines.size(), 1u);

    // The options of that root: the bundled English is a known language there.
    Options opt;
    EXPECT_FALSE(LoadOptions(opt, root));  // no options file yet
    opt.language = "Klingon";
    opt.muteWav = true;
    ASSERT_TRUE(SaveOptions(opt, root));
    Options back;
    back.language = "Deutsch";
    ASSERT_TRUE(LoadOptions(back, root));
    EXPECT_TRUE(back.muteWav);
    EXPECT_EQ(back.language, "Deutsch");  // "Klingon" has no language file: not taken
    ASSERT_TRUE(std::filesystem::exists(root.optionsFile()));
    std::ofstream(root.optionsFile(), std::ios::app) << "$Language = english\r\n";
    ASSERT_TRUE(LoadOptions(back, root));
    EXPECT_EQ(back.language, "English");
}
