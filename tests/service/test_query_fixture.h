#pragma once

// A fixture for the service operations: a scripted loopback server stands in
// for the service and a fresh app root holds Data/ and temp/.

#include "Common_Config.h"
#include "TempAppRoot.h"
#include "TestHttpServer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qarvon::test {

inline const std::string kApiPath = "/QarvonApis/requestQarvon";

class ServiceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.started());
        m_savedConfig = SysConfig();
        SysConfig().RequestUrl = server.url(kApiPath + "?method=");
        SysConfig().PlayListRequestUrl = SysConfig().RequestUrl;
    }

    void TearDown() override { SysConfig() = m_savedConfig; }

    // The request target of a method text ("Qarvon.X.Y&a=b").
    static std::string Target(const std::string &method) { return kApiPath + "?method=" + method; }

    // Answers that exact request.
    void Answer(const std::string &method, TScriptedResponse response)
    {
        server.SetResponse(Target(method), std::move(response));
    }
    void AnswerXml(const std::string &method, const std::string &xml)
    {
        Answer(method, TScriptedResponse::Ok("<?xml version=\"1.0\" encoding=\"utf-8\"?>" + xml));
    }

    // The method texts that reached the server, in order.
    std::vector<std::string> Methods() const
    {
        std::vector<std::string> out;
        for (const TRecordedRequest &r : server.requests()) {
            const std::string prefix = kApiPath + "?method=";
            out.push_back(r.target.rfind(prefix, 0) == 0 ? r.target.substr(prefix.size())
                                                         : r.target);
        }
        return out;
    }

    // For each case, a list holding one stale record meets that answer to
    // method; its Loaded, ResultCode and count are checked before inspect
    // looks at the rest.
    template<class List, class Case, class Fetch, class Inspect>
    void RunListCases(const std::string &method, const std::vector<Case> &cases, Fetch fetch,
                      Inspect inspect)
    {
        for (const Case &c : cases) {
            SCOPED_TRACE(c.name);
            Answer(method, c.answer);
            server.ClearRequests();
            List list;
            list.AddNew();
            fetch(list);
            EXPECT_EQ(list.Loaded, c.loaded);
            EXPECT_EQ(list.ResultCode, c.code);
            ASSERT_EQ(list.Count(), c.count);
            inspect(list);
        }
    }

    TempAppRoot root;
    TestHttpServer server;

private:
    TSystemConfig m_savedConfig;
};

// The ways an answer can go wrong, shared by the tables of the operations.
enum class AnswerKind { Records, NoAnswer, ErrorStatus, Refused, Malformed, Truncated };

inline const char *AnswerKindName(AnswerKind kind)
{
    switch (kind) {
    case AnswerKind::Records: return "Records";
    case AnswerKind::NoAnswer: return "NoAnswer";
    case AnswerKind::ErrorStatus: return "ErrorStatus";
    case AnswerKind::Refused: return "Refused";
    case AnswerKind::Malformed: return "Malformed";
    case AnswerKind::Truncated: return "Truncated";
    }
    return "?";
}

// A scripted answer of that kind; Records wraps payload in a root element.
inline TScriptedResponse MakeAnswer(AnswerKind kind, const std::string &payload, int code = 99)
{
    const std::string head = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
    switch (kind) {
    case AnswerKind::Records:
        return TScriptedResponse::Ok(head + "<result>" + payload + "</result>");
    case AnswerKind::NoAnswer: {
        TScriptedResponse r;
        r.dropConnection = true;
        return r;
    }
    case AnswerKind::ErrorStatus:
        return TScriptedResponse::Status(500, head + "<result>" + payload + "</result>");
    case AnswerKind::Refused:
        return TScriptedResponse::Ok(head + "<result><err code=\"" + std::to_string(code)
                                     + "\"/></result>");
    case AnswerKind::Malformed:
        return TScriptedResponse::Ok(head + "<result><Track><TrackID>1</TrackID></Track>");
    case AnswerKind::Truncated: {
        TScriptedResponse r = TScriptedResponse::Ok(head + "<result>" + payload + "</result>");
        r.cutAfter = r.body.size() / 2;
        return r;
    }
    }
    return {};
}

// One answer to a list fetch and what the list holds after it; the list
// starts with one record, so a count of 1 means it was left as it was.
struct ListCase
{
    const char *name;
    TScriptedResponse answer;
    bool loaded;
    int count;
    int code;
};

// A track record element with the six catalogue fields and a duration.
inline std::string TrackXml(const std::string &id, const std::string &name = "Song",
                            const std::string &element = "Track")
{
    return "<" + element + "><TrackID>" + id + "</TrackID><TrackName>" + name
           + "</TrackName><AlbumID>A" + id + "</AlbumID><AlbumName>Album " + id
           + "</AlbumName><ArtistIDList>R" + id + "</ArtistIDList><ArtistNameList>Artist " + id
           + "</ArtistNameList><Duration>2" + id + "</Duration></" + element + ">";
}

} // namespace qarvon::test
