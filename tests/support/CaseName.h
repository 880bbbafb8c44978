#pragma once

#include <gtest/gtest.h>

#include <string>

namespace lumivar::test {

/// Names a parameterised case after the `name` field of its parameter.
struct CaseName {
    template <class Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& param) const {
        return param.param.name;
    }
};

} // namespace lumivar::test
