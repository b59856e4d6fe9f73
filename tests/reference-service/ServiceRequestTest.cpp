// Requests with a body: the control paths take a small form, nothing more.
#include "ServiceTestSupport.h"

#include <gtest/gtest.h>

namespace qarvon::test {
namespace {

struct BodyCase
{
    const char *name;
    std::string headers; // the body itself is never sent: a refusal must not wait for it
    int status;
};

void PrintTo(const BodyCase &c, std::ostream *os)
{
    *os << c.name;
}

class RequestBody : public ::testing::TestWithParam<BodyCase>
{
};

// The body is refused before the server reads it, so a client cannot make it
// hold an unbounded body in memory.
TEST_P(RequestBody, IsRefusedUnlessItIsASmallForm)
{
    ReferenceService &service = SharedService();
    const HttpReply reply = HttpRaw(service.baseUrl(),
                                    "POST /control/fault/clear HTTP/1.0\r\nHost: 127.0.0.1\r\n"
                                        + GetParam().headers + "\r\n");
    EXPECT_TRUE(reply.connected);
    EXPECT_EQ(reply.status, GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, RequestBody,
    ::testing::Values(BodyCase {"HugeLength", "Content-Length: 1000000000\r\n", 413},
                      BodyCase {"LengthNotANumber", "Content-Length: lots\r\n", 400},
                      BodyCase {"Chunked", "Transfer-Encoding: chunked\r\n", 413},
                      BodyCase {"NoLength", "", 411},
                      BodyCase {"EmptyWithLength", "Content-Length: 0\r\n", 200}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(RequestBody, ASmallFormStillSetsAFault)
{
    ReferenceService &service = SharedService();
    const std::string form = "target=Qarvon.Track.GetTrack&status=503&count=1";
    const HttpReply reply
        = HttpRaw(service.baseUrl(),
                  "POST /control/fault HTTP/1.0\r\nHost: 127.0.0.1\r\n"
                  "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: "
                      + std::to_string(form.size()) + "\r\n\r\n" + form);
    EXPECT_EQ(reply.status, 200) << reply.body;
    EXPECT_EQ(service.call("Qarvon.Track.GetTrack&trackID=300004").status, 503);
    EXPECT_EQ(service.call("Qarvon.Track.GetTrack&trackID=300004").status, 200);
}

} // namespace
} // namespace qarvon::test
