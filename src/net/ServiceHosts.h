#pragma once
// The one table of service hosts. Every address the program builds for a public service
// takes its host from here. Defaults are reserved names under ".example"; the remote
// configuration may replace them at run time, and --connect-to routes them elsewhere.
#include <string>
#include <string_view>
#include <vector>

namespace qm {

struct ServiceHost {
    std::string key;   // stable name used in code, e.g. "altavista"
    std::string host;  // host name (no scheme), e.g. "www.altavista.example"
};

// All known services, in a fixed order.
const std::vector<ServiceHost> &ServiceHosts();

// Current host of a service; empty when the key is unknown.
std::string ServiceHostFor(std::string_view key);

// Replaces the host of a known service (remote configuration). Returns false for an
// unknown key or an empty host.
bool SetServiceHost(std::string_view key, std::string_view host);

// Restores every default (tests).
void ResetServiceHosts();

}  // namespace qm
