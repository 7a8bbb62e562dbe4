// SPDX-License-Identifier: MIT
#pragma once

// The cases of a table-driven suite are structs whose `name` member says what
// each one tries. GoogleTest prints a failing case's parameter by that name
// rather than as raw bytes, and CaseName gives each instance the same name:
//   INSTANTIATE_TEST_SUITE_P(Lines, PlaceBallLines, ValuesIn(kLineCases), CaseName());

#include <gtest/gtest.h>

#include <ostream>
#include <string>

// GoogleTest finds it by argument-dependent lookup; only types with a
// printable `name` member take part.
template <class Case>
auto operator<<(std::ostream& os, const Case& c) -> decltype(os << c.name)
{
    return os << c.name;
}

// Lookup by argument sees the namespace a case is declared in; this makes the
// printer visible for cases in the file's anonymous namespace too.
namespace {
using ::operator<<;
}

struct CaseName {
    template <class Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& info) const
    {
        return info.param.name;
    }
};
