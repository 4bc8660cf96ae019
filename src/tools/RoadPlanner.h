#pragma once
// The road planner: a US planner (address, city, state or ZIP code) and a European planner
// in French (town, postal code, country). One GET asks the planner's service for a plan;
// the answer page is read by a one-pass byte matcher into rows of step and distance. The
// rows can be switched between miles and kilometres, flipped, printed and saved as text.
//
// Everything here is display-free: the window's page (src/app/RoadPage) and
// `quillmar-cli route` drive the same RoadPlanner. Texts are UTF-8; page bytes are kept
// as they arrive.
#include <QObject>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

class THttpCli;

enum class RoadMode : int { US = 0, Europe = 1 };

// One country of the European planner's lists and the code sent for it.
struct RoadCountry {
    const char *name;  // UTF-8, as shown
    const char *code;
};
inline constexpr int kRoadCountryCount = 50;
inline constexpr int kRoadDefaultCountry = 16;  // "France"
const std::array<RoadCountry, kRoadCountryCount> &RoadCountries();
// Index of a country by its name (ASCII case ignored) or by its index as decimal text; -1
// when neither fits.
int FindRoadCountry(std::string_view nameOrIndex);

struct RoadUsPlace {
    std::string address, city, state, zip;
};
struct RoadEuPlace {
    std::string town, code;
    int country = kRoadDefaultCountry;
};

// One row of the plan list: step text and distance (both may be empty: the spacer row).
struct RoadRow {
    std::string step, distance;
    bool operator==(const RoadRow &) const = default;
};

// The texts the two planner buttons set, and the service behind each.
struct RoadTexts {
    const char *help;          // PNL_HELP_ROAD
    const char *button;        // BT_ROAD caption
    const char *flipHint;      // BT_ROAD_FLIP hint
    const char *printHint;     // BT_ROAD_PRT hint
    const char *saveHint;      // BT_ROAD_SAVE hint
    const char *kmCaption;     // CHK_ROAD_KM caption
    const char *creditCaption; // LBL_ROAD_CPY caption
    const char *creditHint;    // LBL_ROAD_CPY hint
    const char *column2;       // title of LV_ROAD's second column
    bool fastestVisible;       // CHK_ROAD_FAST
    const char *hostKey;       // the service's row in the service-host table
    const char *noPlan;        // told when a page yields no step
};
const RoadTexts &RoadPlannerTexts(RoadMode mode);
// The service's home page (opened by a click on the credit label).
std::string RoadHomePage(RoadMode mode);

// The planner a language chooses: "French" the European one, every other name the US one.
RoadMode RoadPlannerForLanguage(std::string_view language);

// ---- Requests ----
// A field value as it goes into the request: blanks as "+", letters, digits and "-._,*"
// as they are, every other byte as %XX (upper-case hex).
std::string EncodeRoadValue(std::string_view value);
// Path and query of a request (fields are trimmed here).
std::string UsRoadRequest(const RoadUsPlace &from, const RoadUsPlace &to, bool fastest);
std::string EuRoadRequest(const RoadEuPlace &from, const RoadEuPlace &to);

// ---- Reading answer pages ----
// Called every 512 bytes of a scan (at 0 too): lets the event loop run and says whether to
// go on. An empty function never stops the scan.
using RoadKeepGoing = std::function<bool()>;
// The US steps: "N: text" and "%.2f miles", or "%.2f km" (miles x 1.609) when `km`.
std::vector<RoadRow> ScanUsRoadPage(std::string_view page, bool km, const RoadKeepGoing &keepGoing = {});
// The European steps: text and "<distance> km" (no totals).
std::vector<RoadRow> ScanEuRoadPage(std::string_view page, const RoadKeepGoing &keepGoing = {});
// Appends the spacer row, "Distance totale:" and "Temps total (à 90km/h):" for the steps.
void AppendEuRoadTotals(std::vector<RoadRow> &rows);
// The unit switch: every row with a step whose caption holds neither "time:" nor "km/h):"
// goes to kilometres (km) or miles, unless it is already there.
void SwitchRoadUnits(std::vector<RoadRow> &rows, bool km);
// "%.2f" whatever the locale.
std::string FormatFixed2(double value);
// The first word of a text read as a decimal number (0 when it is none).
double FirstWordNumber(std::string_view text);

// ---- Saving and printing ----
std::string RoadSuggestedName(RoadMode mode, const RoadUsPlace &usFrom, const RoadUsPlace &usTo,
                              const RoadEuPlace &euFrom, const RoadEuPlace &euTo);
// The saved text, each line ended by CR LF.
std::string RoadSavedText(RoadMode mode, const RoadUsPlace &usFrom, const RoadUsPlace &usTo,
                          const RoadEuPlace &euFrom, const RoadEuPlace &euTo, const std::vector<RoadRow> &rows);
// The two heading lines of a printed plan ("From: ...", "To: ...").
std::array<std::string, 2> RoadPrintHeadings(RoadMode mode, const RoadUsPlace &usFrom, const RoadUsPlace &usTo,
                                             const RoadEuPlace &euFrom, const RoadEuPlace &euTo);

// The common message of a save that could not be written.
std::string FileNotWrittenMessage(const std::string &path);

// ---- The controller ----
class RoadPlanner : public QObject {
    Q_OBJECT
public:
    explicit RoadPlanner(QObject *parent = nullptr);
    ~RoadPlanner() override;

    // The fields, as typed (trimmed where they are used).
    RoadUsPlace usFrom, usTo;
    RoadEuPlace euFrom, euTo;
    bool fastest = false;  // CHK_ROAD_FAST

    // Set up every client before its request (proxy settings).
    std::function<void(THttpCli &)> configureClient;
    // Lets the event loop run while a page is read.
    std::function<void()> pump;
    // True once the window closes: a running scan stops.
    std::function<bool()> closing;

    RoadMode Mode() const { return mode_; }
    // A planner button: the mode, and for the European planner the kilometre box ticked
    // (which runs the unit switch).
    void SelectPlanner(RoadMode mode);
    bool Km() const { return km_; }
    // Ticks or clears the kilometre box and runs the unit switch.
    void SetKm(bool km);
    bool Busy() const { return busy_; }

    const std::vector<RoadRow> &Rows() const { return rows_; }
    void SetRows(std::vector<RoadRow> rows);

    // Path and query of the request for the current mode and fields.
    std::string RequestPath() const;
    std::string RequestUrl() const;
    // The request of the last Request() as sent (path and query).
    const std::string &LastRequest() const { return lastRequest_; }

    // BT_ROADClick: ignored (false) while a request runs.
    bool Request();
    // HTPRODRequestDone: reads the page (as an answer of the planner that was asked, even if
    // another one was chosen meanwhile) when the transfer worked, reports a page without a
    // plan and a failed transfer, and ends the busy state.
    void Answer(int error, const std::string &page);
    // Reads a page of the current planner into the rows; false (rows empty) when it holds
    // no step.
    bool ReadPage(std::string_view page);

    void Flip();
    std::string SuggestedFileName() const;
    std::string SavedText() const;
    // Writes the saved text atomically; false when the file cannot be written.
    bool SaveTo(const std::string &path) const;
    std::array<std::string, 2> PrintHeadings() const;

signals:
    void modeChanged(qm::RoadMode mode);
    void kmChanged(bool km);
    void busyChanged(bool busy);
    void rowsChanged();
    // Something the user must be told (no plan, a transfer error).
    void notice(const std::string &text);
    // A request ended (planRead: the page held a plan).
    void finished(bool planRead);

private:
    void onDone(int error);
    void setBusy(bool busy);

    RoadMode mode_ = RoadMode::US;
    RoadMode requestMode_ = RoadMode::US;  // the planner the running request asked
    bool km_ = false;
    bool busy_ = false;
    std::vector<RoadRow> rows_;
    std::string lastRequest_;
    THttpCli *client_ = nullptr;
    std::string stream_;
};

}  // namespace qm
