#pragma once

// Files the service layer keeps beside the program: downloaded pictures in
// temp/ and the small XML stores in Data/.

#include <cstddef>
#include <string>

namespace qarvon {

// The file name for a picture address: the part after its last "/". A part
// that could leave temp/ or is not a plain name (empty, ".", "..", with a
// separator or a control character, or overly long) is replaced by a name
// made from the whole address, the same for the same address.
std::string SafeFileNameFromUrl(const std::string &address);
// temp/ + that name.
std::string TempPathForUrl(const std::string &address);

// Fetches address into path, replacing any file there (an empty answer
// leaves an empty file). Returns the number of bytes written.
std::size_t DownloadToFile(const std::string &address, const std::string &path);

// Escapes a text for an attribute value in double quotes.
std::string XmlAttributeText(const std::string &text);

// Before a store file is rewritten: a file that exists but cannot be parsed
// is copied aside to "<path>.bad", so its content is not lost.
void KeepUnreadableAside(const std::string &path);

} // namespace qarvon
