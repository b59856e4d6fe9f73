#pragma once

#include <string>

namespace qarvon {

// Copies one diagnostic line to the trace named by QARVON_TRACE: a file path,
// or "socket:NAME" for a local socket a viewer listens on. Does nothing when
// the variable is unset. Safe from any thread.
void Trace(const std::string &text);

} // namespace qarvon
