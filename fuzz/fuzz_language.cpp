// Language files from arbitrary bytes: both passes, any character set. Every text that
// comes out is valid UTF-8 and holds no line break (alerts excepted: their lines are joined).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <unistd.h>

#include <QString>

#include "settings/Language.h"
#include "toolkit/AtomicFile.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

bool ValidUtf8(const std::string &s) {
    const QString q = QString::fromUtf8(s.data(), qsizetype(s.size()));
    return q.toUtf8() == QByteArray(s.data(), qsizetype(s.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const std::string dir = [] {
        char tmpl[] = "/tmp/fuzz_languageXXXXXX";
        return std::string(mkdtemp(tmpl));
    }();
    const std::string path = dir + "/Fuzz.language";
    if (!qm::WriteFileAtomic(path, std::string(reinterpret_cast<const char *>(data), size))) return 0;
    qm::LanguageTexts t;
    Check(qm::ApplyLanguageFile(t, path, "Fuzz"));
    Check(qm::ApplyLanguageBlocksFile(t, path));
    for (const auto &k : qm::LanguageKeyList()) {
        const std::string &text = t.Text(k.key);
        Check(ValidUtf8(text));
        Check(text.find('\n') == std::string::npos && text.find('\r') == std::string::npos);
    }
    for (const auto &list : t.help)
        for (const auto &line : list) Check(ValidUtf8(line));
    return 0;
}
