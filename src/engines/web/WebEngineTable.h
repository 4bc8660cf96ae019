#pragma once
// The built-in web engines: seventeen rows in a fixed order. A row's position is its
// slot in the engine registry and its line in the options' engine list.
#include "search/EngineDescriptor.h"

#include <string>
#include <vector>

namespace qm {

inline constexpr int kWebEngineCount = 17;

// Builds the seventeen rows with the current service hosts (src/net/ServiceHosts), every
// row enabled and in mode All. The applied remote configuration (CurrentServiceConfig)
// gives GOTO's serve and click addresses and FindWhat's four templates when it sets them.
std::vector<EngineDescriptor> BuildWebEngineTable();

// A GOTO row (web or smart finder): the configured serve and click addresses when set.
void TakeConfiguredGoto(EngineDescriptor &row);

// What the home site's configuration (CurrentServiceConfig) sets in the built-in rows: GOTO's
// serve and click addresses, FindWhat's four query templates. Every search takes them anew,
// so a configuration applied after its table was built still reaches it.
void TakeServiceConfig(std::vector<EngineDescriptor> &table);

// The service-host key of each row's search host, in row order ("altavista", ...).
const std::vector<std::string> &WebEngineHostKeys();

// "http://" + the current host of a service key, without a trailing slash.
std::string ServiceRoot(const std::string &key);

// Sets the search mode of the built-in rows (the first seventeen).
void SetWebSearchMode(std::vector<EngineDescriptor> &table, SearchMode mode);

// Index of the first row with this selector, -1 when none.
int FindWebEngineBySelector(const std::vector<EngineDescriptor> &table, int selector);

// Index of the first built-in row whose name equals `name` ignoring ASCII case, -1 when none.
int FindWebEngineByName(const std::vector<EngineDescriptor> &table, const std::string &name);

}  // namespace qm
