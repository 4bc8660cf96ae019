// Entry point of the Quillmar window.
#include "app/FeatureBindings.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "net/NetConfig.h"
#include "settings/DataRoot.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <unistd.h>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

// SIGINT and SIGTERM close the window as the user would, so the run's files are saved.
int gSignalPipe[2] = {-1, -1};

void OnSignal(int) {
    char c = 1;
    [[maybe_unused]] auto n = ::write(gSignalPipe[1], &c, 1);
}

}  // namespace

int main(int argc, char **argv) {
    // --help and --version answer before anything needs a display.
    std::vector<std::string> params(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (int rc = qm::AnswerWithoutWindow(qm::ParseStartArgs(params, std::getenv("QUILLMAR_CONNECT_TO"))); rc >= 0)
        return rc;

    if (!qm::HaveInternetLibrary()) {
        QApplication app(argc, argv);
        QMessageBox box(QMessageBox::Warning, "Missing library",
                        QString::fromStdString(qm::MissingLibraryText()), QMessageBox::Ok);
        box.exec();
        return qm::kExitNoInternetLibrary;
    }

    qm::QuillmarApplication app(argc, argv);
    // Again without the options the application object took (-platform, -style...).
    params.clear();
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) params.push_back(arguments[i].toStdString());
    qm::StartArgs args = qm::ParseStartArgs(params, std::getenv("QUILLMAR_CONNECT_TO"));

    // --demo: a fresh temporary data root unless --home is given, every service host
    // routed to the fake web running in this process.
    if (args.demo) {
        std::string error;
        if (!qm::StartDemoWeb(error)) std::fprintf(stderr, "quillmar: --demo: %s\n", error.c_str());
    }
    qm::SetConnectTo(args.connectTo);

    const qm::RunDataRoot runRoot(args.home, args.demo);
    const std::string &root = runRoot.path();
    if (!qm::PrepareDataRoot(qm::DataRoot(root)))
        std::fprintf(stderr, "quillmar: cannot create the data folders in %s\n", root.c_str());

    int rc;
    {
        qm::TMain window(qm::ProgramDirs::FromRoot(root, QDir::tempPath().toStdString(),
                                                   QCoreApplication::applicationFilePath().toStdString()));
        window.SetCommandLine(args.query);
        qm::CreateSplashWindow(window);
        qm::CreateOptionsWindow(window);
        std::unique_ptr<QSocketNotifier> signalNotifier;
        if (::pipe(gSignalPipe) == 0) {
            signalNotifier = std::make_unique<QSocketNotifier>(gSignalPipe[0], QSocketNotifier::Read);
            QObject::connect(signalNotifier.get(), &QSocketNotifier::activated, &window, [&window] {
                char c;
                [[maybe_unused]] auto n = ::read(gSignalPipe[0], &c, 1);
                window.close();
                QCoreApplication::quit();
            });
            std::signal(SIGINT, OnSignal);
            std::signal(SIGTERM, OnSignal);
        }
        window.show();
        // Without a window manager (a bare X server, a kiosk) nothing would activate the
        // window, and the start-up steps of its first activation would never run.
        window.activateWindow();
        rc = app.exec();
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
        window.Destroy();
    }
    qm::StopDemoWeb();
    return rc;
}
