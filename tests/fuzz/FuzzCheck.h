#pragma once

#include "NumberText.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// The entry point of every fuzz target; the replay tool calls it too.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace latcap::fuzz {

// Stops the run so that the fuzzer keeps the input that broke a rule.
inline void Require(bool holds, std::string_view rule, std::string_view detail = {})
{
    if (holds)
        return;
    std::fprintf(stderr, "broken: %s [%s]\n", std::string(rule).c_str(), std::string(detail).c_str());
    std::abort();
}

// A formatted number is an optional minus sign, digits and at most one
// decimal point, and reads back as the value it shows, within half a unit of
// its last decimal. A mask without a '0' shows a value that rounds to zero as
// an empty text, which reads back as 0.
inline void RequireShows(std::string_view text, double value, std::string_view what, bool zeroMayBeEmpty = false)
{
    constexpr auto npos = std::string_view::npos;
    const std::string detail = std::string(what) + " '" + std::string(text) + "'";
    if (text.empty()) {
        Require(zeroMayBeEmpty && std::fabs(value) <= 0.5, "only a value that rounds to zero shows as nothing", detail);
        return;
    }
    const std::string_view magnitude = text.substr(text.front() == '-' ? 1 : 0);
    Require(magnitude.find_first_not_of("0123456789.") == npos && magnitude.find('.') == magnitude.rfind('.')
            && magnitude.find_first_of("0123456789") != npos,
        "formatted text is an optional minus sign, digits and at most one point", detail);
    const std::size_t point = text.find('.');
    const double halfUnit = 0.5 * std::pow(10.0, point == npos ? 0.0 : -double(text.size() - point - 1));
    // The text is exact; reading it back may round once more to a double.
    const double slack = halfUnit * 1e-9 + std::fabs(value) * 0x1p-51;
    Require(std::fabs(ReadNumber(text) - value) <= halfUnit + slack, "text reads back within its last decimal", detail);
    if (text.front() == '-')
        Require(value < 0 && text.find_first_of("123456789") != npos,
            "a minus sign only before a negative value not shown as zero", detail);
}

} // namespace latcap::fuzz
