#include "XmlTree.h"

#include <QXmlStreamReader>

namespace qarvon::test {

const XmlNode *XmlNode::child(const std::string &childName) const
{
    for (const auto &c : children)
        if (c.name == childName)
            return &c;
    return nullptr;
}

std::string XmlNode::childText(const std::string &childName) const
{
    const XmlNode *c = child(childName);
    return c ? c->text : std::string();
}

std::string XmlNode::attribute(const std::string &attributeName) const
{
    for (const auto &[key, value] : attributes)
        if (key == attributeName)
            return value;
    return {};
}

std::vector<std::string> XmlNode::childNames() const
{
    std::vector<std::string> names;
    for (const auto &c : children)
        names.push_back(c.name);
    return names;
}

std::optional<XmlNode> ParseXml(const std::string &document)
{
    QXmlStreamReader reader(QByteArray::fromStdString(document));
    std::vector<XmlNode> stack;
    std::optional<XmlNode> root;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            XmlNode node;
            node.name = reader.name().toString().toStdString();
            for (const auto &a : reader.attributes())
                node.attributes.emplace_back(a.name().toString().toStdString(),
                                             a.value().toString().toStdString());
            stack.push_back(std::move(node));
            break;
        }
        case QXmlStreamReader::Characters:
            if (!stack.empty())
                stack.back().text += reader.text().toString().toStdString();
            break;
        case QXmlStreamReader::EndElement: {
            XmlNode done = std::move(stack.back());
            stack.pop_back();
            if (stack.empty())
                root = std::move(done);
            else
                stack.back().children.push_back(std::move(done));
            break;
        }
        default:
            break;
        }
    }
    if (reader.hasError())
        return std::nullopt;
    return root;
}

} // namespace qarvon::test
