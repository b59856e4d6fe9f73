// The one place that talks to pugixml and iconv. Documents are handed out as
// UTF-8 whatever encoding their declaration names.

#include "uXmlAnswer.h"

#include "uQarvonHttp.h"
#include "uTraceM.h"

#include <pugixml.hpp>

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace qarvon {

namespace {

pugi::xml_node ToPugi(const void *node)
{
    return pugi::xml_node(static_cast<pugi::xml_node_struct *>(const_cast<void *>(node)));
}

std::string Upper(std::string s)
{
    for (char &c : s) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
}

// The value of encoding="..." in an XML declaration at the very start of
// 8-bit text; "" when there is no declaration or it names no encoding.
std::string DeclaredEncoding(const std::string &bytes, std::size_t start)
{
    if (bytes.compare(start, 5, "<?xml") != 0)
        return {};
    const std::size_t end = bytes.find("?>", start);
    if (end == std::string::npos)
        return {};
    const std::string decl = bytes.substr(start, end - start);
    std::size_t pos = decl.find("encoding");
    if (pos == std::string::npos)
        return {};
    pos = decl.find_first_not_of(" \t\r\n", pos + 8);
    if (pos == std::string::npos || decl[pos] != '=')
        return {};
    pos = decl.find_first_not_of(" \t\r\n", pos + 1);
    if (pos == std::string::npos || (decl[pos] != '"' && decl[pos] != '\''))
        return {};
    const std::size_t close = decl.find(decl[pos], pos + 1);
    if (close == std::string::npos)
        return {};
    return decl.substr(pos + 1, close - pos - 1);
}

// Converts with iconv; an undecodable sequence becomes U+FFFD so one bad
// character does not cost the whole answer. False when iconv lacks the encoding.
bool Convert(const char *from, const char *data, std::size_t size, std::string &out,
             std::size_t unitSize, bool &replaced)
{
    iconv_t cd = iconv_open("UTF-8", from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    out.clear();
    out.reserve(size * 2);
    char buffer[16384];
    auto *in = const_cast<char *>(data);
    std::size_t inLeft = size;
    while (inLeft > 0) {
        char *outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, sizeof buffer - outLeft);
        if (rc != static_cast<std::size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // EILSEQ or a truncated sequence at the end (EINVAL): skip one unit.
        replaced = true;
        out += "\xEF\xBF\xBD";
        const std::size_t skip = std::min(unitSize, inLeft);
        in += skip;
        inLeft -= skip;
    }
    char *outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, sizeof buffer - outLeft);
    iconv_close(cd);
    return true;
}

bool IsValidUtf8(const std::string &s)
{
    const auto *p = reinterpret_cast<const unsigned char *>(s.data());
    const auto *end = p + s.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int extra = 0;
        std::uint32_t cp = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (end - p <= extra)
            return false;
        for (int i = 1; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF)))
            || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        p += extra + 1;
    }
    return true;
}

enum class TByteForm { Eight, Utf16LE, Utf16BE };

// Decodes the bytes to UTF-8. False with a reason when that is impossible.
bool DecodeToUtf8(const std::string &bytes, std::string &utf8, std::string &error)
{
    TByteForm form = TByteForm::Eight;
    std::size_t start = 0;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF
        && static_cast<unsigned char>(bytes[1]) == 0xFE) {
        form = TByteForm::Utf16LE;
        start = 2;
    } else if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFE
               && static_cast<unsigned char>(bytes[1]) == 0xFF) {
        form = TByteForm::Utf16BE;
        start = 2;
    } else if (bytes.size() >= 4 && bytes.compare(0, 4, std::string("<\0?\0", 4)) == 0) {
        form = TByteForm::Utf16LE;
    } else if (bytes.size() >= 4 && bytes.compare(0, 4, std::string("\0<\0?", 4)) == 0) {
        form = TByteForm::Utf16BE;
    } else if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        start = 3;
    }

    bool replaced = false;
    if (form != TByteForm::Eight) {
        const char *name = form == TByteForm::Utf16LE ? "UTF-16LE" : "UTF-16BE";
        Convert(name, bytes.data() + start, bytes.size() - start, utf8, 2, replaced);
    } else {
        const std::string declared = Upper(DeclaredEncoding(bytes, start));
        if (declared.empty() || declared == "UTF-8" || declared == "UTF8") {
            utf8.assign(bytes, start);
            if (!IsValidUtf8(utf8)) {
                std::string repaired;
                Convert("UTF-8", utf8.data(), utf8.size(), repaired, 1, replaced);
                utf8.swap(repaired);
            }
        } else if (declared.rfind("UTF-16", 0) == 0 || declared.rfind("UTF-32", 0) == 0
                   || declared.rfind("UCS-", 0) == 0) {
            error = "the declaration names " + declared + " but the bytes are 8-bit text";
            return false;
        } else {
            // GB2312 and GBK answers often hold characters only the wider sets
            // have; GB18030 is a superset of both and decodes them all.
            const bool chinese = declared == "GBK" || declared == "GB2312" || declared == "CP936"
                || declared == "GB18030" || declared == "X-GBK";
            const std::string from = chinese ? "GB18030" : declared;
            if (!Convert(from.c_str(), bytes.data() + start, bytes.size() - start, utf8, 1,
                         replaced)) {
                error = "unknown encoding \"" + DeclaredEncoding(bytes, start) + "\"";
                return false;
            }
        }
    }
    if (replaced)
        Trace("XML: undecodable bytes replaced by U+FFFD");
    return true;
}

void CollectText(const pugi::xml_node &node, std::string &out)
{
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            out += child.value();
            return;
        }
    }
}

void WriteElement(pugi::xml_node parent, const TXmlElement &element)
{
    pugi::xml_node node = parent.append_child(element.name.c_str());
    for (const auto &[name, value] : element.attributes)
        node.append_attribute(name.c_str()).set_value(value.c_str());
    if (!element.text.empty())
        node.append_child(pugi::node_pcdata).set_value(element.text.c_str());
    for (const TXmlElement &child : element.children)
        WriteElement(node, child);
}

} // namespace

std::string TXmlNode::Name() const
{
    return m_node ? ToPugi(m_node).name() : std::string();
}

std::string TXmlNode::Text() const
{
    std::string out;
    if (m_node)
        CollectText(ToPugi(m_node), out);
    return out;
}

std::optional<std::string> TXmlNode::Attribute(const std::string &name) const
{
    if (!m_node)
        return std::nullopt;
    const pugi::xml_attribute attr = ToPugi(m_node).attribute(name.c_str());
    if (!attr)
        return std::nullopt;
    return std::string(attr.value());
}

std::optional<std::pair<std::string, std::string>> TXmlNode::LastAttribute() const
{
    if (!m_node)
        return std::nullopt;
    const pugi::xml_attribute attr = ToPugi(m_node).last_attribute();
    if (!attr)
        return std::nullopt;
    return std::make_pair(std::string(attr.name()), std::string(attr.value()));
}

TXmlNode TXmlNode::Child(const std::string &name) const
{
    if (!m_node)
        return {};
    const pugi::xml_node child = ToPugi(m_node).child(name.c_str());
    return child ? TXmlNode(child.internal_object()) : TXmlNode();
}

std::vector<TXmlNode> TXmlNode::Children() const
{
    std::vector<TXmlNode> out;
    if (!m_node)
        return out;
    for (pugi::xml_node child : ToPugi(m_node).children()) {
        if (child.type() == pugi::node_element)
            out.push_back(TXmlNode(child.internal_object()));
    }
    return out;
}

std::string TXmlNode::ChildText(const std::string &name) const
{
    std::string out;
    if (!m_node)
        return out;
    const pugi::xml_node child = ToPugi(m_node).child(name.c_str());
    if (child)
        CollectText(child, out);
    return out;
}

struct TXmlDocument::Impl
{
    pugi::xml_document doc;
    std::string text; // the decoded bytes; the document's strings point into them
};

TXmlDocument::TXmlDocument()
    : m_impl(std::make_unique<Impl>())
{ }

TXmlDocument::~TXmlDocument() = default;

bool TXmlDocument::Load(const std::string &bytes)
{
    m_impl->doc.reset();
    m_impl->text.clear();
    m_error.clear();

    std::string &utf8 = m_impl->text;
    if (!DecodeToUtf8(bytes, utf8, m_error))
        return false;

    // No DOCTYPE handling and only the predefined entities: nothing external
    // is ever read. The declaration is decoded already, so it is not re-read.
    // Fragment mode keeps stray top-level text, so it can be refused below.
    const unsigned options = pugi::parse_default | pugi::parse_declaration | pugi::parse_fragment;
    const pugi::xml_parse_result result
        = m_impl->doc.load_buffer_inplace(utf8.data(), utf8.size(), options, pugi::encoding_utf8);
    if (!result) {
        m_error = std::string(result.description()) + " at byte " + std::to_string(result.offset);
        m_impl->doc.reset();
        m_impl->text.clear();
        return false;
    }
    int elements = 0;
    for (pugi::xml_node node : m_impl->doc.children()) {
        if (node.type() == pugi::node_element) {
            ++elements;
        } else if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
            m_error = "text outside the document element";
        }
    }
    if (elements > 1)
        m_error = "more than one document element";
    else if (elements == 0 && m_error.empty())
        m_error = "no document element";
    if (!m_error.empty()) {
        m_impl->doc.reset();
        m_impl->text.clear();
        return false;
    }
    return true;
}

TXmlNode TXmlDocument::Root() const
{
    const pugi::xml_node root = m_impl->doc.document_element();
    return root ? TXmlNode(root.internal_object()) : TXmlNode();
}

std::vector<TXmlNode> TXmlDocument::TopLevelElements() const
{
    std::vector<TXmlNode> out;
    for (pugi::xml_node node : m_impl->doc.children()) {
        if (node.type() == pugi::node_element)
            out.push_back(TXmlNode(node.internal_object()));
    }
    return out;
}

int NodeInt(const std::optional<std::string> &value)
{
    if (!value)
        return 0;
    const std::string &s = *value;
    std::size_t i = s.find_first_not_of(" \t\r\n");
    std::size_t end = s.find_last_not_of(" \t\r\n");
    bool ok = i != std::string::npos;
    long long n = 0;
    if (ok) {
        bool negative = false;
        if (s[i] == '+' || s[i] == '-') {
            negative = s[i] == '-';
            ++i;
        }
        ok = i <= end;
        for (; ok && i <= end; ++i) {
            if (s[i] < '0' || s[i] > '9' || n > std::numeric_limits<int>::max()) {
                ok = false;
                break;
            }
            n = n * 10 + (s[i] - '0');
        }
        if (negative)
            n = -n;
        ok = ok && n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max();
    }
    if (!ok) {
        Trace("NodeInt: \"" + s.substr(0, 64) + "\" is not an integer, read as 0");
        return 0;
    }
    return static_cast<int>(n);
}

std::string NodeText(const std::optional<std::string> &value)
{
    return value ? *value : std::string();
}

void ParseServiceAnswer(const std::string &body, TServiceAnswer &answer)
{
    answer.status = TServiceAnswer::NoAnswer;
    answer.Code = 0;
    answer.Root = TXmlNode();
    if (&answer.Body != &body)
        answer.Body = body;
    if (answer.Body.empty()) {
        answer.Document.Load({});
        return;
    }
    if (!answer.Document.Load(answer.Body)) {
        Trace("answer not readable: " + answer.Document.Error());
        answer.status = TServiceAnswer::Malformed;
        return;
    }
    answer.Root = answer.Document.Root();
    if (!answer.Root) {
        answer.status = TServiceAnswer::NoRoot;
        return;
    }
    const TXmlNode err = answer.Root.Child("err");
    if (err) {
        answer.status = TServiceAnswer::Refused;
        answer.Code = NodeInt(err.Attribute("code"));
        return;
    }
    answer.status = TServiceAnswer::Ok;
}

void ReadServiceAnswer(const std::string &url, TServiceAnswer &answer)
{
    answer.Body.clear();
    FetchUrl(url, answer.Body);
    ParseServiceAnswer(answer.Body, answer);
}

std::string WriteXmlDocument(const TXmlElement &root)
{
    pugi::xml_document doc;
    pugi::xml_node decl = doc.append_child(pugi::node_declaration);
    decl.append_attribute("version").set_value("1.0");
    decl.append_attribute("encoding").set_value("utf-8");
    WriteElement(doc, root);
    struct TStringWriter : pugi::xml_writer
    {
        std::string out;
        void write(const void *data, size_t size) override
        {
            out.append(static_cast<const char *>(data), size);
        }
    } writer;
    doc.save(writer, "  ", pugi::format_default, pugi::encoding_utf8);
    return writer.out;
}

} // namespace qarvon
