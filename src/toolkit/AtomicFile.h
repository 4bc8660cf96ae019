#pragma once
// Whole-file replacement that never leaves a half-written or missing file behind.
#include <string>
#include <string_view>

namespace qm {

// Writes `bytes` to a temporary file in the folder of `path`, flushes it to disk and
// renames it over `path`. On any failure the old file (if any) is left untouched, the
// temporary file is removed and false is returned. `ownerOnly` creates the file with
// mode 0600 (for files that hold passwords or cookies).
bool WriteFileAtomic(const std::string &path, std::string_view bytes, bool ownerOnly = false);

// Reads a whole file as bytes. Returns false when it cannot be opened.
bool ReadWholeFile(const std::string &path, std::string &out);

}  // namespace qm
