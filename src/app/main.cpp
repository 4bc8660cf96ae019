// Entry point of the Quillmar window.
#include "app/FeatureBindings.h"
#include "app/MainWindow.h"
#include "app/Startup.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

int main(int argc, char **argv) {
    if (!qm::HaveInternetLibrary()) {
        QApplication app(argc, argv);
        QMessageBox box(QMessageBox::Warning, "Missing library",
                        QString::fromStdString(qm::MissingLibraryText()), QMessageBox::Ok);
        box.exec();
        return qm::kExitNoInternetLibrary;
    }

    qm::QuillmarApplication app(argc, argv);
    std::vector<std::string> params;
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) params.push_back(arguments[i].toStdString());
    qm::StartArgs args = qm::ParseStartArgs(params, std::getenv("QUILLMAR_CONNECT_TO"));
    if (args.help) {
        std::fputs(qm::StartUsage().c_str(), stdout);
        return 0;
    }
    if (!args.error.empty()) {
        std::fprintf(stderr, "quillmar: %s\n\n%s", args.error.c_str(), qm::StartUsage().c_str());
        return 2;
    }

    // --demo: a fresh temporary data root unless --home is given, every service host
    // routed to the fake web running in this process.
    std::unique_ptr<QTemporaryDir> demoHome;
    if (args.demo) {
        if (args.home.empty()) {
            demoHome = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/quillmar-demo-XXXXXX");
            if (demoHome->isValid()) args.home = demoHome->path().toStdString();
        }
        std::string error;
        std::string routes = qm::StartDemoWeb(error);
        if (routes.empty())
            std::fprintf(stderr, "quillmar: --demo: %s\n", error.c_str());
        else
            args.connectTo = args.connectTo.empty() ? routes : routes + "," + args.connectTo;
    }
    if (!args.connectTo.empty()) qm::ApplyConnectTo(args.connectTo);

    std::string root = qm::ResolveDataRoot(args.home, QCoreApplication::applicationDirPath().toStdString());
    qm::PrepareDataRoot(root);

    int rc;
    {
        qm::TMain window(qm::ProgramDirs::FromRoot(root, QDir::tempPath().toStdString(),
                                                   QCoreApplication::applicationFilePath().toStdString()));
        window.SetCommandLine(args.query);
        qm::CreateSplashWindow(window);
        qm::CreateOptionsWindow(window);
        window.show();
        rc = app.exec();
        window.Destroy();
    }
    qm::StopDemoWeb();
    return rc;
}
