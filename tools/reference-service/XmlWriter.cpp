#include "XmlWriter.h"

namespace qarvon::refsvc {

XmlWriter::XmlWriter(std::string_view root)
{
    m_out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
    open(root);
}

void XmlWriter::indent()
{
    m_out.append(m_open.size() * 2, ' ');
}

XmlWriter &XmlWriter::open(std::string_view name)
{
    indent();
    m_out += '<';
    m_out += name;
    m_out += ">\n";
    m_open.emplace_back(name);
    return *this;
}

XmlWriter &XmlWriter::close()
{
    if (m_open.empty())
        return *this;
    const std::string name = std::move(m_open.back());
    m_open.pop_back();
    indent();
    m_out += "</" + name + ">\n";
    return *this;
}

XmlWriter &XmlWriter::field(std::string_view name, std::string_view text)
{
    indent();
    m_out += '<';
    m_out += name;
    m_out += '>';
    m_out += escape(text);
    m_out += "</";
    m_out += name;
    m_out += ">\n";
    return *this;
}

XmlWriter &XmlWriter::empty(std::string_view name,
                            const std::vector<std::pair<std::string, std::string>> &attributes)
{
    indent();
    m_out += '<';
    m_out += name;
    for (const auto &[key, value] : attributes)
        m_out += ' ' + key + "=\"" + escape(value) + '"';
    m_out += "/>\n";
    return *this;
}

std::string XmlWriter::finish()
{
    while (!m_open.empty())
        close();
    return std::move(m_out);
}

std::string XmlWriter::escape(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (ch) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            // Control characters other than tab and line ends are not allowed in XML 1.0.
            if (c < 0x20 && ch != '\t' && ch != '\n' && ch != '\r')
                break;
            out += ch;
        }
    }
    return out;
}

std::string ErrorDocument(int code)
{
    XmlWriter xml("Response");
    xml.empty("err", {{"code", std::to_string(code)}});
    return xml.finish();
}

} // namespace qarvon::refsvc
