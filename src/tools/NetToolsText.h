#pragma once
// Texts of the network tools: every message is a message-table entry named by its English
// default, looked up through the caller's table.
#include <functional>
#include <string>

namespace qm {

// A message-table text by its English default; the English text when unset.
using MessageFn = std::function<std::string(const std::string &english)>;
std::string Say(const MessageFn &message, const char *english);

}  // namespace qm
