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

// The number of digits after the decimal point of a formatted text.
inline int ShownDecimals(std::string_view text)
{
    const std::size_t point = text.find('.');
    return point == std::string_view::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

// A formatted number is an optional minus sign, digits and at most one
// decimal point, and reads back as the value it shows, within half a unit of
// its last decimal. A mask without a '0' shows a value that rounds to zero as
// an empty text, which reads back as 0.
inline void RequireShows(std::string_view text, double value, std::string_view what, bool zeroMayBeEmpty = false)
{
    const std::string detail = std::string(what) + " '" + std::string(text) + "'";
    if (text.empty()) {
        Require(zeroMayBeEmpty, "formatted text is not empty", detail);
        Require(std::fabs(value) <= 0.5, "only a value that rounds to zero shows as nothing", detail);
        return;
    }
    std::size_t points = 0;
    std::size_t digits = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '-')
            Require(i == 0, "a minus sign only leads", detail);
        else if (c == '.')
            ++points;
        else if (c >= '0' && c <= '9')
            ++digits;
        else
            Require(false, "formatted text holds digits, a sign and a point only", detail);
    }
    Require(points <= 1, "at most one decimal point", detail);
    Require(digits > 0, "at least one digit", detail);

    const double readBack = ReadNumber(text);
    const double halfUnit = 0.5 * std::pow(10.0, -ShownDecimals(text));
    // The text is exact; reading it back may round once more to a double.
    const double slack = halfUnit * 1e-9 + std::fabs(value) * 0x1p-51;
    Require(std::fabs(readBack - value) <= halfUnit + slack, "text reads back within its last decimal", detail);
    if (text.front() == '-') {
        Require(value < 0, "only a negative value shows a minus sign", detail);
        Require(text.find_first_of("123456789") != std::string_view::npos, "zero shows no minus sign", detail);
    }
}

} // namespace latcap::fuzz
