#pragma once

#include <string>

namespace qarvon {

// Writes a whole file so that a crash leaves either the old or the new
// content, never half of one: temporary file beside it, flush, rename.
// mode is applied to a file that does not exist yet; an existing file keeps
// its mode unless forceMode is set.
bool WriteFileAtomically(const std::string &path, const std::string &content, unsigned mode = 0644,
                         bool forceMode = false);

// Reads a whole file; false when it cannot be opened.
bool ReadWholeFile(const std::string &path, std::string *content);

} // namespace qarvon
