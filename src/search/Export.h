#pragma once
// A result list as a stand-alone HTML page: a header, one block per exported row and an
// end, each from a text template with placeholders. The templates are built in; the
// remote configuration may replace them.
//
// Every text taken from a row (titles, descriptions, engine names, addresses) comes from
// remote pages: it is escaped for HTML before it enters the page, and only "http:",
// "https:" and "ftp:" addresses become links.
#include "search/EngineDescriptor.h"
#include "search/ResultRow.h"
#include "toolkit/Misc.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qm {

struct ResultTemplates {
    std::string header;  // <$HOMESITE>, <$GIF>, <$RESULTLOGO>
    std::string line;    // <$URL>, <$SITENAME>, <$DESCRIPTION>, <$ENGINE_NAME>, <$ENGINE_URL>
    std::string end;
};

// The three built-in templates (the partner search form's host comes from the service
// host table).
ResultTemplates BuiltInResultTemplates();

// The program-wide templates: the built-in ones until replaced.
const ResultTemplates &CurrentResultTemplates();
void SetResultTemplates(ResultTemplates templates);
void ResetResultTemplates();

// A web engine's name and home page, in engine-table order.
struct EngineHome {
    std::string name;
    std::string homePage;
};

// The engine home pages that "<$ENGINE_URL>" is taken from: set by the web engine table
// once it is built (or by a caller that knows another table).
const std::vector<EngineHome> &ExportEngineHomes();
void SetExportEngineHomes(std::vector<EngineHome> engines);
// Names and home pages of an engine table, in its order.
std::vector<EngineHome> EngineHomesOf(const std::vector<EngineDescriptor> &table);

struct ExportSettings {
    std::string homeSite;    // <$HOMESITE>
    std::string gifPath;     // <$GIF>: the partner banner picture
    std::string logoPath;    // <$RESULTLOGO>
    std::vector<EngineHome> engines;  // for <$ENGINE_URL>; the first name that matches wins
    bool keepEngineUrlWhenUnknown = true;  // false: "<$ENGINE_URL>" becomes empty (news list)
    size_t urlColumn = kUrl;          // the row's address: this sub-item when not empty ...
    size_t locationColumn = kLocation;  // ... else this one
    ResultTemplates templates;
};

// Settings for the web list: templates, engine homes and the home site as currently set;
// the pictures under `dataRoot` + "/gfx/".
ExportSettings WebExportSettings(const std::string &dataRoot);

// The product's home site address ("<$HOMESITE>"); the remote configuration may replace it.
std::string ExportHomeSite();
void SetExportHomeSite(std::string address);  // empty: back to the built-in address

// The pictures of the page header, in the data root's "GFX" folder.
extern const char *const kPartnerBannerFile;
extern const char *const kResultLogoFile;


// Replaces the first occurrence (ASCII case ignored) of each placeholder by its value in
// one pass over the template: an inserted value is never searched for placeholders again.
std::string FillTemplate(std::string_view tmpl,
                         const std::vector<std::pair<std::string_view, std::string>> &values);

// The whole page as bytes. `selected` (same length as `rows`, or empty for all rows)
// chooses the rows to export.
std::string BuildResultPage(const std::vector<ResultRow> &rows, const std::vector<bool> &selected,
                            const ExportSettings &settings);

// Writes the page to `path`, replacing the file. False when it cannot be written.
bool ExportResultPage(const std::vector<ResultRow> &rows, const std::string &path,
                      const std::vector<bool> &selected, const ExportSettings &settings);

// The web list's page with the settings of WebExportSettings(dataRoot), as the window's
// "Save site(s) to a file" and quillmar-cli's --export write it.
bool ExportWebResultPage(const std::string &dataRoot, const std::vector<ResultRow> &rows, const std::string &path,
                         const std::vector<bool> &selected = {});

// The save dialog's extension rule: a name whose extension does not contain ".htm"
// (ASCII case ignored) gets ".htm" appended.
std::string WithHtmlExtension(const std::string &path);

// The message shown when a page cannot be written.
extern const char *const kExportDiskError;

// ---- addresses from remote pages ----

// The scheme of an address in lower case ("http", "javascript", ...), or empty when the
// address has none. Leading blanks and control bytes and embedded tabs and line breaks
// are ignored, as browsers ignore them.
std::string AddressScheme(std::string_view address);

// True when an address that came from a remote page may be handed to the browser:
// "http:", "https:" or "ftp:", or a plain host address without a scheme ("www.x.example/a").
// "file:", "javascript:", "data:", local paths and every other scheme are refused.
bool IsSafeToOpen(std::string_view address);

// The address as it may stand in a link of an exported page: unchanged for "http:",
// "https:" and "ftp:", "http://" + address for a plain host address, empty otherwise.
std::string LinkableAddress(std::string_view address);

}  // namespace qm
