// Start-up pieces: the program's own options, the data root, the Internet library check,
// the exception display, and the browser choice.
#include "app/Browser.h"
#include "app/Startup.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>

using namespace qm;

TEST(StartArgs, OwnOptionsAndQueryParameters) {
    auto a = ParseStartArgs({"--home", "/tmp/h", "quillmar:?Query=free", "software"});
    EXPECT_EQ(a.home, "/tmp/h");
    EXPECT_EQ(a.query, (std::vector<std::string>{"quillmar:?Query=free", "software"}));
    EXPECT_FALSE(a.demo);

    a = ParseStartArgs({"--demo", "--connect-to=a:80:127.0.0.1:8080", "--connect-to", "b:80:127.0.0.1:8081"},
                       "env:80:x:1");
    EXPECT_TRUE(a.demo);
    // The command line replaces the environment; several options add up.
    EXPECT_EQ(a.connectTo, "a:80:127.0.0.1:8080,b:80:127.0.0.1:8081");
    EXPECT_TRUE(a.query.empty());

    a = ParseStartArgs({"word"}, "env:80:x:1");
    EXPECT_EQ(a.connectTo, "env:80:x:1");

    // After "--" everything is query text, even what looks like an option.
    a = ParseStartArgs({"--", "--demo", "x"});
    EXPECT_FALSE(a.demo);
    EXPECT_EQ(a.query, (std::vector<std::string>{"--demo", "x"}));

    a = ParseStartArgs({"--home"});
    EXPECT_FALSE(a.error.empty());
}

TEST(StartArgs, HelpAndVersionWorkWithoutADisplay) {
    EXPECT_TRUE(ParseStartArgs({"--version"}).version);
    EXPECT_EQ(AnswerWithoutWindow(ParseStartArgs({"free", "software"})), -1);

    const QString program = QStringLiteral(QUILLMAR_BINARY_DIR "/src/app/quillmar");
    ASSERT_TRUE(QFile::exists(program));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    struct Case {
        QStringList args;
        int exit;
        std::string out, err;
    } cases[] = {
        {{"--help"}, 0, "usage: quillmar ", ""},
        {{"-h", "word"}, 0, "usage: quillmar ", ""},
        {{"--version"}, 0, "quillmar 1.22 (build 1170)\n", ""},
        {{"--demo", "--home"}, 2, "", "--home needs a value"},
    };
    for (const auto &c : cases) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(program, c.args);
        ASSERT_TRUE(p.waitForFinished(60000)) << c.args.join(' ').toStdString();
        const std::string out = p.readAllStandardOutput().toStdString();
        const std::string err = p.readAllStandardError().toStdString();
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << err;
        EXPECT_EQ(p.exitCode(), c.exit) << err;
        EXPECT_EQ(out.substr(0, c.out.size()), c.out) << out;
        if (c.out.empty()) EXPECT_EQ(out, "");
        EXPECT_NE(err.find(c.err), std::string::npos) << err;
    }
}

TEST(InternetLibrary, LinkedLibrarySpeaksHttp) {
    EXPECT_TRUE(HaveInternetLibrary());
    EXPECT_NE(MissingLibraryText().find("libcurl"), std::string::npos);
    EXPECT_EQ(kExitNoInternetLibrary, -2);
}

namespace {

class Thrower : public QObject {
public:
    bool event(QEvent *e) override {
        if (e->type() == QEvent::User) throw std::runtime_error("escaped from a handler");
        return QObject::event(e);
    }
};

}  // namespace

TEST(ExceptionDisplay, EscapedExceptionIsShownAndTheProgramGoesOn) {
    // The test runs inside a plain QApplication; drive the override directly.
    std::vector<std::string> shown;
    auto saved = QuillmarApplication::ExceptionDisplay();
    QuillmarApplication::ExceptionDisplay() = [&](const std::string &what) { shown.push_back(what); };
    Thrower t;
    QEvent user(QEvent::User);
    EXPECT_FALSE(DeliverShowingExceptions([&] { return t.event(&user); }));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "escaped from a handler");
    // The next delivery runs normally.
    QEvent other(QEvent::Type(QEvent::User + 1));
    DeliverShowingExceptions([&] { return t.event(&other); });
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_FALSE(DeliverShowingExceptions([]() -> bool { throw 42; }));
    EXPECT_EQ(shown.back(), "Unknown error");
    QuillmarApplication::ExceptionDisplay() = saved;
}

TEST(Browser, DefaultExternalAndMissingNavigator) {
    ShellOptions o;
    auto plan = PlanBrowser(o, " www.site.example/a b ", "/data");
    EXPECT_EQ(plan.kind, BrowserPlan::OpenWithDesktop);
    EXPECT_EQ(plan.url, "http://www.site.example/a%20b");
    EXPECT_EQ(PlanBrowser(o, "   ", "/data").kind, BrowserPlan::Nothing);
    o.surfSameWindow = true;
    EXPECT_EQ(PlanBrowser(o, "https://x.example/", "/data").url, "https://x.example/");

    QTemporaryDir tmp;
    QString browser = tmp.path() + "/my browser";
    QFile f(browser);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    o.defaultNavigator = false;
    o.externalNavigator = "  " + browser.toStdString() + "  ";
    plan = PlanBrowser(o, "http://x.example/?q=a&b=\"c\"; rm -rf", "/data");
    EXPECT_EQ(plan.kind, BrowserPlan::StartProgram);
    EXPECT_EQ(plan.program, browser.toStdString());
    // One argument, exactly as given: no shell ever reads it.
    EXPECT_EQ(plan.args, (std::vector<std::string>{"http://x.example/?q=a&b=\"c\"; rm -rf"}));
    EXPECT_EQ(plan.workDir, "/data");
    EXPECT_EQ(PlanBrowser(o, "--new-instance", "/data").kind, BrowserPlan::Nothing);

    o.externalNavigator = browser.toStdString() + ".missing";
    EXPECT_EQ(PlanBrowser(o, "http://x.example/", "/data").kind, BrowserPlan::NavigatorMissing);
    o.externalNavigator = tmp.path().toStdString();  // a folder is not a browser
    EXPECT_EQ(PlanBrowser(o, "http://x.example/", "/data").kind, BrowserPlan::NavigatorMissing);
    o.externalNavigator = "sh";  // a program name found on the PATH
    EXPECT_EQ(PlanBrowser(o, "http://x.example/", "/data").kind, BrowserPlan::StartProgram);
}
