#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qarvon::refsvc {

// Writes answers by hand rather than through a DOM: the client finds search
// totals by scanning the raw text for `total="N"/>`, so the exact bytes of the
// carrier element matter (no blank before "/>", total as the last attribute).
class XmlWriter
{
public:
    explicit XmlWriter(std::string_view root);

    XmlWriter &open(std::string_view name);
    XmlWriter &close();
    XmlWriter &field(std::string_view name, std::string_view text);
    XmlWriter &empty(std::string_view name,
                     const std::vector<std::pair<std::string, std::string>> &attributes);

    // Closes what is still open and returns the document.
    std::string finish();

    static std::string escape(std::string_view text);

private:
    void indent();

    std::string m_out;
    std::vector<std::string> m_open;
};

// The whole document of a refusal: the root holds `<err code="N"/>`.
std::string ErrorDocument(int code);

} // namespace qarvon::refsvc
