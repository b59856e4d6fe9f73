// Reading answers: encodings, malformed input, the shared reading sequence.

#include "TestHttpServer.h"
#include "uXmlAnswer.h"

#include <gtest/gtest.h>

using namespace qarvon;
using qarvon::test::TestHttpServer;
using qarvon::test::TScriptedResponse;

namespace {

const std::string kChineseUtf8 = "\xE4\xB8\xAD\xE6\x96\x87"; // 中文

std::string Utf16(const std::u16string &text, bool littleEndian, bool bom)
{
    std::string out;
    auto put = [&](char16_t c) {
        const char lo = static_cast<char>(c & 0xFF);
        const char hi = static_cast<char>(c >> 8);
        out += littleEndian ? lo : hi;
        out += littleEndian ? hi : lo;
    };
    if (bom)
        put(0xFEFF);
    for (char16_t c : text)
        put(c);
    return out;
}

std::string Declared(const std::string &encoding, const std::string &name)
{
    return "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?>\n<Track><TrackName>" + name
        + "</TrackName></Track>";
}

// ---- encodings ----------------------------------------------------------------

struct EncodingCase
{
    const char *name;
    std::string bytes;
    std::string expectedName; // UTF-8
};

void PrintTo(const EncodingCase &c, std::ostream *os)
{
    *os << c.name;
}

class Encodings : public ::testing::TestWithParam<EncodingCase>
{
};

TEST_P(Encodings, DecodeToUtf8)
{
    TXmlDocument doc;
    ASSERT_TRUE(doc.Load(GetParam().bytes)) << doc.Error();
    EXPECT_EQ(doc.Root().Name(), "Track");
    EXPECT_EQ(doc.Root().ChildText("TrackName"), GetParam().expectedName);
}

INSTANTIATE_TEST_SUITE_P(
    Xml, Encodings,
    ::testing::Values(
        EncodingCase {"NoDeclaration", "<Track><TrackName>" + kChineseUtf8 + "</TrackName></Track>",
                      kChineseUtf8},
        EncodingCase {"Utf8", Declared("UTF-8", kChineseUtf8), kChineseUtf8},
        EncodingCase {"Utf8LowerCaseName", Declared("utf-8", kChineseUtf8), kChineseUtf8},
        EncodingCase {"Utf8Bom", "\xEF\xBB\xBF" + Declared("utf-8", kChineseUtf8), kChineseUtf8},
        EncodingCase {"Gbk", Declared("GBK", "\xD6\xD0\xCE\xC4"), kChineseUtf8},
        EncodingCase {"Gb2312", Declared("gb2312", "\xD6\xD0\xCE\xC4"), kChineseUtf8},
        // Servers label GBK text GB2312; the character below exists only in GBK.
        EncodingCase {"Gb2312HoldingGbkOnly", Declared("GB2312", "\xEE\x85"), "\xE9\xA1\x93"},
        EncodingCase {"Gb18030FourByte", Declared("GB18030", "\x94\x39\xFC\x36"),
                      "\xF0\x9F\x98\x80"},
        EncodingCase {"Latin1", Declared("ISO-8859-1", "caf\xE9"), "caf\xC3\xA9"},
        EncodingCase {"Utf16LeBom",
                      Utf16(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><Track><TrackName>\u4E2D"
                            u"\u6587</TrackName></Track>",
                            true, true),
                      kChineseUtf8},
        EncodingCase {"Utf16BeBom",
                      Utf16(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><Track><TrackName>\u4E2D"
                            u"\u6587</TrackName></Track>",
                            false, true),
                      kChineseUtf8},
        EncodingCase {"Utf16LeWithoutBom",
                      Utf16(u"<?xml version=\"1.0\"?><Track><TrackName>\u4E2D\u6587</TrackName>"
                            u"</Track>",
                            true, false),
                      kChineseUtf8},
        EncodingCase {"Utf16Surrogates",
                      Utf16(u"<Track><TrackName>\U0001F600</TrackName></Track>", true, true),
                      "\xF0\x9F\x98\x80"},
        // One broken character costs only itself.
        EncodingCase {"BrokenUtf8Replaced",
                      Declared("UTF-8",
                               "a\xFF"
                               "b"),
                      "a\xEF\xBF\xBD"
                      "b"},
        EncodingCase {"BrokenGbkReplaced", Declared("GBK", "a\xD6"), "a\xEF\xBF\xBD"}
        // the lone lead byte takes nothing with it
        ),
    [](const auto &info) { return std::string(info.param.name); });

// ---- documents that cannot be read ---------------------------------------------

struct BadCase
{
    const char *name;
    std::string bytes;
    std::string errorMentions;
};

void PrintTo(const BadCase &c, std::ostream *os)
{
    *os << c.name;
}

class BadDocuments : public ::testing::TestWithParam<BadCase>
{
};

TEST_P(BadDocuments, FailWithAClearError)
{
    TXmlDocument doc;
    EXPECT_FALSE(doc.Load(GetParam().bytes));
    EXPECT_NE(doc.Error().find(GetParam().errorMentions), std::string::npos) << doc.Error();
    EXPECT_TRUE(doc.Root().IsNull());
    EXPECT_TRUE(doc.TopLevelElements().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Xml, BadDocuments,
    ::testing::Values(BadCase {"UnknownEncoding", Declared("X-NO-SUCH-SET", "a"),
                               "unknown encoding \"X-NO-SUCH-SET\""},
                      BadCase {"Utf16DeclaredOn8Bit", Declared("UTF-16", "a"), "UTF-16"},
                      BadCase {"Empty", "", "document"},
                      BadCase {"OnlyBlanks", "   \r\n\t ", "document"},
                      BadCase {"Truncated", "<r><Track><TrackID>1</TrackID></Track><Track><Track",
                               "byte"},
                      BadCase {"Unclosed", "<r><a>text</a>", "byte"},
                      BadCase {"Mismatched", "<r><a></b></r>", "byte"},
                      BadCase {"TwoRoots", "<a/><b/>", "more than one document element"},
                      BadCase {"TextOutsideRoot", "<a/>trailing", "text outside"},
                      BadCase {"NotXml", "<html><body>502 Bad Gateway", "byte"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(XmlDocument, ExternalEntitiesAreNeverRead)
{
    const std::string bytes = "<?xml version=\"1.0\"?>\n"
                              "<!DOCTYPE r [<!ENTITY x SYSTEM \"file:///etc/hostname\">]>\n"
                              "<r><v>&x;</v></r>";
    TXmlDocument doc;
    // Either refused or kept as written; never replaced by a file's content.
    if (doc.Load(bytes)) {
        EXPECT_EQ(doc.Root().ChildText("v"), "&x;");
    }
}

TEST(XmlDocument, ReloadForgetsThePreviousDocument)
{
    TXmlDocument doc;
    ASSERT_TRUE(doc.Load("<first/>"));
    EXPECT_FALSE(doc.Load("<broken"));
    EXPECT_TRUE(doc.Root().IsNull());
    ASSERT_TRUE(doc.Load("<second/>"));
    EXPECT_EQ(doc.Root().Name(), "second");
    EXPECT_TRUE(doc.Error().empty());
}

TEST(XmlNode, NavigationAndNullNodes)
{
    TXmlDocument doc;
    ASSERT_TRUE(doc.Load("<?xml version=\"1.0\"?><!-- c --><r a=\"1\" b=\"x&amp;y\">"
                         "<T><id>7</id><name><![CDATA[A<B]]></name></T>text<T/><!-- c --><U/>"
                         "</r>"));
    const TXmlNode root = doc.Root();
    EXPECT_EQ(doc.TopLevelElements().size(), 1u);
    EXPECT_EQ(root.Attribute("b"), "x&y");
    EXPECT_EQ(root.Attribute("missing"), std::nullopt);
    EXPECT_EQ(root.LastAttribute(), std::make_pair(std::string("b"), std::string("x&y")));

    const auto children = root.Children();
    ASSERT_EQ(children.size(), 3u); // elements only, in order
    EXPECT_EQ(children[0].Name(), "T");
    EXPECT_EQ(children[2].Name(), "U");
    EXPECT_EQ(children[0].ChildText("id"), "7");
    EXPECT_EQ(children[0].ChildText("name"), "A<B");
    EXPECT_EQ(children[0].ChildText("missing"), "");
    EXPECT_EQ(children[1].ChildText("id"), "");

    const TXmlNode none = root.Child("nothing");
    EXPECT_TRUE(none.IsNull());
    EXPECT_EQ(none.Name(), "");
    EXPECT_EQ(none.Text(), "");
    EXPECT_TRUE(none.Children().empty());
    EXPECT_EQ(none.Attribute("a"), std::nullopt);
    EXPECT_EQ(none.LastAttribute(), std::nullopt);
    EXPECT_TRUE(none.Child("x").IsNull());
    EXPECT_EQ(root.Child("U").LastAttribute(), std::nullopt);
}

// ---- node values ----------------------------------------------------------------

struct IntCase
{
    const char *name;
    std::optional<std::string> value;
    int expected;
};

void PrintTo(const IntCase &c, std::ostream *os)
{
    *os << c.name;
}

class NodeInts : public ::testing::TestWithParam<IntCase>
{
};

TEST_P(NodeInts, NeverRaise)
{
    EXPECT_EQ(NodeInt(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Xml, NodeInts,
    ::testing::Values(IntCase {"Absent", std::nullopt, 0}, IntCase {"Plain", "1001", 1001},
                      IntCase {"Negative", "-1", -1}, IntCase {"Plus", "+5", 5},
                      IntCase {"SurroundingBlanks", " 42\n", 42}, IntCase {"Empty", "", 0},
                      IntCase {"Word", "abc", 0}, IntCase {"TrailingJunk", "12ab", 0},
                      IntCase {"Decimal", "1.5", 0}, IntCase {"SignOnly", "-", 0},
                      IntCase {"Max", "2147483647", 2147483647},
                      IntCase {"Min", "-2147483648", -2147483647 - 1},
                      IntCase {"Overflow", "2147483648", 0},
                      IntCase {"HugeOverflow", "99999999999999999999999", 0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(NodeText, AbsentIsEmpty)
{
    EXPECT_EQ(NodeText(std::nullopt), "");
    EXPECT_EQ(NodeText(std::string("x")), "x");
}

// ---- the reading sequence ---------------------------------------------------------

struct AnswerCase
{
    const char *name;
    std::string body;
    TServiceAnswer::Status status;
    int code;
    std::string rootName;
};

void PrintTo(const AnswerCase &c, std::ostream *os)
{
    *os << c.name;
}

class ServiceAnswers : public ::testing::TestWithParam<AnswerCase>
{
};

TEST_P(ServiceAnswers, ReachTheRightStep)
{
    TServiceAnswer answer;
    ParseServiceAnswer(GetParam().body, answer);
    EXPECT_EQ(answer.status, GetParam().status);
    EXPECT_EQ(answer.Code, GetParam().code);
    EXPECT_EQ(answer.Root.Name(), GetParam().rootName);
    EXPECT_EQ(answer.Body, GetParam().body);
}

INSTANTIATE_TEST_SUITE_P(
    Xml, ServiceAnswers,
    ::testing::Values(
        AnswerCase {"Empty", "", TServiceAnswer::NoAnswer, 0, ""},
        AnswerCase {"Blanks", "  \n", TServiceAnswer::Malformed, 0, ""},
        AnswerCase {"Truncated", "<?xml version=\"1.0\"?><r><UserID>1</User",
                    TServiceAnswer::Malformed, 0, ""},
        AnswerCase {"UnknownEncoding", Declared("KOI-9", "x"), TServiceAnswer::Malformed, 0, ""},
        AnswerCase {"Refused", "<r><err code=\"1003\"/></r>", TServiceAnswer::Refused, 1003, "r"},
        AnswerCase {"RefusedBadCode", "<r><err code=\"x\"/></r>", TServiceAnswer::Refused, 0, "r"},
        AnswerCase {"RefusedNoCode", "<r><err/></r>", TServiceAnswer::Refused, 0, "r"},
        AnswerCase {"ErrDeeperIsPayload", "<r><a><err code=\"5\"/></a></r>", TServiceAnswer::Ok, 0,
                    "r"},
        AnswerCase {"ErrAsRootIsNotARefusal", "<err code=\"5\"/>", TServiceAnswer::Ok, 0, "err"},
        AnswerCase {"AnyRootName", "<whatever><UserID>9</UserID></whatever>", TServiceAnswer::Ok, 0,
                    "whatever"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ServiceAnswer, ReusedAnswerStartsClean)
{
    TServiceAnswer answer;
    ParseServiceAnswer("<r><err code=\"7\"/></r>", answer);
    ASSERT_EQ(answer.status, TServiceAnswer::Refused);
    ParseServiceAnswer("", answer);
    EXPECT_EQ(answer.status, TServiceAnswer::NoAnswer);
    EXPECT_EQ(answer.Code, 0);
    EXPECT_TRUE(answer.Root.IsNull());
}

TEST(ServiceAnswer, ReadOverHttpDecodesAndStopsAtErrorStatus)
{
    TestHttpServer server;
    ASSERT_TRUE(server.started());
    server.SetResponse("/ok", TScriptedResponse::Ok(Declared("GBK", "\xD6\xD0\xCE\xC4")));
    server.SetResponse("/fail", TScriptedResponse::Status(500, "<r><err code=\"1\"/></r>"));

    TServiceAnswer ok;
    ReadServiceAnswer(server.url("/ok"), ok);
    ASSERT_EQ(ok.status, TServiceAnswer::Ok);
    EXPECT_EQ(ok.Root.ChildText("TrackName"), kChineseUtf8);

    TServiceAnswer failed;
    ReadServiceAnswer(server.url("/fail"), failed);
    EXPECT_EQ(failed.status, TServiceAnswer::NoAnswer);
    EXPECT_TRUE(failed.Body.empty());
}

// ---- writing ------------------------------------------------------------------------

TEST(XmlWrite, RoundTripsAttributesTextAndChildren)
{
    TXmlElement root {"program", {}, {}, {}};
    root.children.push_back(
        {"rool", {{"TrackName", "A & \"B\" <" + kChineseUtf8 + ">"}, {"ID", "1"}}, {}, {}});
    root.children.push_back({"Track", {}, "x<y", {}});
    const std::string text = WriteXmlDocument(root);
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>", 0), 0u) << text;

    TXmlDocument doc;
    ASSERT_TRUE(doc.Load(text)) << doc.Error();
    const auto rows = doc.Root().Children();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Attribute("TrackName"), "A & \"B\" <" + kChineseUtf8 + ">");
    EXPECT_EQ(rows[0].LastAttribute()->first, "ID");
    EXPECT_EQ(rows[1].Text(), "x<y");
}

} // namespace
