#pragma once

#include <gtest/gtest.h>

#include <string>

namespace qarvon::test {

// Names each row of a case table after its name field, so a failure names its case.
struct CaseName
{
    template<class Case>
    std::string operator()(const ::testing::TestParamInfo<Case> &info) const
    {
        return info.param.name;
    }
};

} // namespace qarvon::test
