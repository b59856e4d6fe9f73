// The answer reader over arbitrary bodies: any bytes in any declared encoding
// end in one of the reading steps, and whatever loads can be walked whole.
#include "uXmlAnswer.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Walk(const qarvon::TXmlNode &node, int depth)
{
    if (depth > 64)
        return;
    (void)node.Name();
    (void)node.Text();
    (void)node.LastAttribute();
    (void)qarvon::NodeInt(node.Attribute("code"));
    for (const qarvon::TXmlNode &child : node.Children()) {
        (void)child.ChildText("TrackName");
        Walk(child, depth + 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string body(reinterpret_cast<const char *>(data), size);
    qarvon::TServiceAnswer answer;
    qarvon::ParseServiceAnswer(body, answer);
    switch (answer.status) {
    case qarvon::TServiceAnswer::NoAnswer:
        if (!body.empty())
            std::abort(); // only an empty body is no answer
        break;
    case qarvon::TServiceAnswer::Malformed:
        if (answer.Document.Error().empty() || !answer.Root.IsNull())
            std::abort(); // a refused document says why and offers nothing
        break;
    case qarvon::TServiceAnswer::NoRoot:
        break;
    case qarvon::TServiceAnswer::Refused:
        if (answer.Root.Child("err").IsNull())
            std::abort();
        break;
    case qarvon::TServiceAnswer::Ok:
        Walk(answer.Root, 0);
        break;
    }
    (void)qarvon::NodeInt(body);
    return 0;
}
