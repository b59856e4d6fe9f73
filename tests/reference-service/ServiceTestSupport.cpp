#include "ServiceTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace qarvon::test {

namespace {

std::unique_ptr<ReferenceService> g_service;

class SharedServiceEnvironment : public ::testing::Environment
{
public:
    void TearDown() override { g_service.reset(); }
};

const auto *g_environment = ::testing::AddGlobalTestEnvironment(new SharedServiceEnvironment);

} // namespace

ReferenceService &SharedService()
{
    if (!g_service)
        g_service = std::make_unique<ReferenceService>();
    return *g_service;
}

XmlNode Answer(const ReferenceService &service, const std::string &call)
{
    const HttpReply reply = service.call(call);
    EXPECT_EQ(reply.status, 200) << call;
    EXPECT_TRUE(reply.complete) << call;
    const auto root = ParseXml(reply.body);
    EXPECT_TRUE(root.has_value()) << call << " gave a document that is not well-formed:\n"
                                  << reply.body;
    return root.value_or(XmlNode {});
}

XmlNode Answer(const std::string &call)
{
    return Answer(SharedService(), call);
}

int ErrorCode(const XmlNode &root)
{
    const XmlNode *err = root.child("err");
    if (!err)
        return -1;
    return std::stoi(err->attribute("code"));
}

std::string ClientTotal(const std::string &rawAnswer)
{
    const auto at = rawAnswer.find("total");
    if (at == std::string::npos)
        return "0";
    const std::string rest = rawAnswer.substr(at + 7);
    const auto slash = rest.find('/');
    if (slash == std::string::npos || slash == 0)
        return "0";
    return rest.substr(0, slash - 1);
}

std::string Lower(std::string text)
{
    for (char &c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::vector<XmlNode> AllPages(const std::string &callWithoutPage, int perPage, int *total)
{
    std::vector<XmlNode> records;
    *total = -1;
    for (int page = 1; page < 1000; ++page) {
        const XmlNode root = Answer(callWithoutPage + "&per_page=" + std::to_string(perPage)
                                    + "&page=" + std::to_string(page));
        if (root.children.empty() || root.children.front().name != "Paging") {
            ADD_FAILURE() << "page " << page << " does not start with the paging carrier";
            break;
        }
        const int pageTotal = std::stoi(root.children.front().attribute("total"));
        if (*total < 0)
            *total = pageTotal;
        EXPECT_EQ(pageTotal, *total) << "the total changed on page " << page;
        if (root.children.size() == 1)
            break;
        EXPECT_LE(static_cast<int>(root.children.size()) - 1, perPage);
        records.insert(records.end(), root.children.begin() + 1, root.children.end());
    }
    return records;
}

} // namespace qarvon::test
