#pragma once
// Process-wide network settings applied to every THttpCli request.
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// Routing in libcurl's CONNECT_TO syntax, "HOST:PORT:CONNECT-TO-HOST:CONNECT-TO-PORT" (an
// empty field matches any host or port, or keeps it). The request keeps its URL and Host
// header; only the connection goes elsewhere. Several entries are separated by commas.
void SetConnectTo(std::string_view entries);  // replaces every entry
void AddConnectTo(std::string_view entries);  // appends
const std::vector<std::string> &ConnectTo();
// Appends $QUILLMAR_CONNECT_TO when it is set.
void AddConnectToFromEnvironment();

// The entries that send every host of the service-host table, on any port, to
// address:port ("www.x.example::127.0.0.1:PORT,..."), for the table as it is now.
std::string ServiceHostsConnectTo(int port, std::string_view address = "127.0.0.1");
// Routes every service host to address:port on every request, following later changes of
// the table (port 0 turns this off). With everyHost, any other host goes there too, after
// the table's entries (the demo: result sites are imitated as well, nothing leaves the
// machine).
void RouteServiceHostsTo(int port, std::string_view address = "127.0.0.1", bool everyHost = false);

// Every entry that applies to the next request, explicit entries first.
std::vector<std::string> ConnectToForRequest();

// Extra certificate authorities (PEM file) trusted for HTTPS; empty: the system's only.
void SetCaFile(std::string path);
const std::string &CaFile();

}  // namespace qm
