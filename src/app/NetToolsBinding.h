#pragma once
// Binds the "DNS" and "WHO" tabs (NetToolsPage.h) to the network kit and the domain name
// search of src/tools: histories, messages, alerts, the question, the activity flags.
namespace qm {

class TMain;

// Fills the pages of the network kit and the domain name search and chains their history
// steps into the show and close hooks. The controllers are children of the window, named
// "NetToolsController" and "WhoisLookup".
void BindNetTools(TMain &window);

}  // namespace qm
