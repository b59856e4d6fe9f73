#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qarvon {

class TXmlDocument;

// A read-only view of an element of a loaded document; a null node reads as
// absent everywhere (no children, empty text, no attributes).
class TXmlNode
{
public:
    TXmlNode() = default;

    bool IsNull() const { return m_node == nullptr; }
    explicit operator bool() const { return !IsNull(); }
    std::string Name() const;
    // The element's text (its first text or CDATA child), as UTF-8.
    std::string Text() const;
    std::optional<std::string> Attribute(const std::string &name) const;
    // Last attribute of the element (null when it has none): name and value.
    std::optional<std::pair<std::string, std::string>> LastAttribute() const;
    TXmlNode Child(const std::string &name) const;
    std::vector<TXmlNode> Children() const; // element children, in document order
    // The text of the child element of that name ("" when there is none).
    std::string ChildText(const std::string &name) const;

private:
    friend class TXmlDocument;
    explicit TXmlNode(const void *node) : m_node(node) {}
    const void *m_node = nullptr;
};

// An XML document loaded from an answer or a file. The declaration's encoding
// (UTF-8, GBK, GB2312, GB18030, UTF-16 at least) is decoded into UTF-8.
// No external entities, no DTD processing.
class TXmlDocument
{
public:
    TXmlDocument();
    ~TXmlDocument();
    TXmlDocument(const TXmlDocument &) = delete;
    TXmlDocument &operator=(const TXmlDocument &) = delete;

    // False when the bytes are not a well-formed document or the encoding is
    // unknown; error() then says why.
    bool Load(const std::string &bytes);
    const std::string &Error() const { return m_error; }
    TXmlNode Root() const;                      // the document element (null when none)
    std::vector<TXmlNode> TopLevelElements() const; // element nodes directly below the document

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    std::string m_error;
};

// The integer of a node value; absent gives 0. A value that is not a number
// gives 0 as well and is traced (it never raises).
int NodeInt(const std::optional<std::string> &value);
std::string NodeText(const std::optional<std::string> &value);

// The answer-reading sequence every service operation shares.
struct TServiceAnswer
{
    enum Status {
        NoAnswer,  // empty body: the operation's result is -1
        Malformed, // the body is not a well-formed document (traced)
        NoRoot,    // loaded, but without a document element
        Refused,   // the root has an "err" child: Code holds its code
        Ok,        // payload below Root
    };
    Status status = NoAnswer;
    int Code = 0;
    std::string Body; // the raw answer, for --xml printing and diagnostics
    TXmlDocument Document;
    TXmlNode Root;
};

// An element to write: attributes in order, then its text, then its children.
struct TXmlElement
{
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;
    std::string text;
    std::vector<TXmlElement> children;
};
// A whole document as saved locally: declaration version "1.0", encoding
// "utf-8", the elements indented.
std::string WriteXmlDocument(const TXmlElement &root);

// Fetches url and reads the answer up to the payload.
void ReadServiceAnswer(const std::string &url, TServiceAnswer &answer);
// The same over a body already fetched (tests, caches).
void ParseServiceAnswer(const std::string &body, TServiceAnswer &answer);

} // namespace qarvon
