#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qarvon::test {

// A small read-only tree of an answer, built with Qt's stream reader, so the
// tests check the service's documents with a parser of their own.
struct XmlNode
{
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes; // in document order
    std::string text;
    std::vector<XmlNode> children;

    const XmlNode *child(const std::string &childName) const;
    std::string childText(const std::string &childName) const; // "" when absent
    std::string attribute(const std::string &attributeName) const;
    std::vector<std::string> childNames() const;
};

// The root element, or nothing when the document is not well-formed.
std::optional<XmlNode> ParseXml(const std::string &document);

} // namespace qarvon::test
