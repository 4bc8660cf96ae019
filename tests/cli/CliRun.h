#pragma once
// Runs the built quillmar-cli as a user would and keeps what it said.
#include <QProcess>
#include <QStringList>

#include <string>

namespace qm::test {

inline const QString &CliPath() {
    static const QString path = QStringLiteral(QUILLMAR_BINARY_DIR "/src/cli/quillmar-cli");
    return path;
}

struct CliOutcome {
    int exit = -1;  // -1: did not end within two minutes; -2: crashed
    std::string out, err;
};

inline CliOutcome RunCliProgram(const QStringList &args) {
    QProcess p;
    p.start(CliPath(), args);
    CliOutcome r;
    if (!p.waitForFinished(120000)) return r;
    r.exit = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
}

}  // namespace qm::test
