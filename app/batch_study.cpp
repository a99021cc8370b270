#include "batch_study.h"

#include "CaseFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace latcap::batch {
namespace {

    std::string_view Trim(std::string_view text)
    {
        const auto blank = [](char c) { return c == ' ' || c == '\t'; };
        while (!text.empty() && blank(text.front()))
            text.remove_prefix(1);
        while (!text.empty() && blank(text.back()))
            text.remove_suffix(1);
        return text;
    }

    bool ParseNumber(std::string_view text, double& value)
    {
        text = Trim(text);
        if (!text.empty() && text.front() == '+')
            text.remove_prefix(1);
        const char* end = text.data() + text.size();
        const auto [ptr, ec] = std::from_chars(text.data(), end, value);
        return ec == std::errc() && ptr == end && std::isfinite(value);
    }

    // Decimals a number text carries: "0.25" two, "1.5E-2" three, "100" none.
    int Decimals(std::string_view text)
    {
        text = Trim(text);
        const std::size_t exponentAt = text.find_first_of("eE");
        const std::string_view mantissa = text.substr(0, exponentAt);
        const std::size_t point = mantissa.find('.');
        int decimals = point == std::string_view::npos ? 0 : static_cast<int>(mantissa.size() - point - 1);
        if (exponentAt != std::string_view::npos)
            decimals -= std::atoi(std::string(text.substr(exponentAt + 1)).c_str());
        return std::clamp(decimals, 0, 12);
    }

    std::string Fixed(double value, int decimals)
    {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
        std::string text = buffer;
        if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos)
            text.erase(0, 1);
        return text;
    }

} // namespace

bool ParseSetting(std::string_view text, CaseSetting& setting, std::string& error)
{
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos || Trim(text.substr(0, equals)).empty()) {
        error = "--set needs KEY=VALUE, e.g. \"layer 2.cohesion=40\"; found \"" + std::string(text) + "\"";
        return false;
    }
    setting.key = Trim(text.substr(0, equals));
    setting.value = Trim(text.substr(equals + 1));
    return true;
}

bool ParseSweep(std::string_view text, Sweep& sweep, std::string& error)
{
    const std::string shown = "--vary " + std::string(text);
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        error = "--vary needs KEY=FROM:TO:STEP, e.g. H=10:100:10; found \"" + std::string(text) + "\"";
        return false;
    }
    sweep.key = Trim(text.substr(0, equals));
    std::string keyError;
    if (!IsSingleNumberKey(sweep.key, keyError)) {
        error = shown + ": " + keyError;
        return false;
    }
    const std::string_view range = text.substr(equals + 1);
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t colon = range.find(':', start);
        parts.push_back(range.substr(start, colon == std::string_view::npos ? range.npos : colon - start));
        if (colon == std::string_view::npos)
            break;
        start = colon + 1;
    }
    double from = 0;
    double to = 0;
    double step = 0;
    if (parts.size() != 3 || !ParseNumber(parts[0], from) || !ParseNumber(parts[1], to)
        || !ParseNumber(parts[2], step)) {
        error = shown + ": the range must be three numbers FROM:TO:STEP, e.g. 10:100:10";
        return false;
    }
    if (step == 0) {
        error = shown + ": the step must not be zero";
        return false;
    }
    if ((to - from) / step < 0) {
        error = shown + ": a " + (step > 0 ? "positive" : "negative") + " step never gets from "
            + std::string(Trim(parts[0])) + " to " + std::string(Trim(parts[1]));
        return false;
    }
    const double steps = (to - from) / step;
    const double rows = std::floor(steps + 1e-9 * std::max(1.0, steps)) + 1;
    if (!(rows <= kMaxSweepRows)) {
        error = shown + ": that is " + Fixed(rows, 0) + " calculations; at most " + std::to_string(kMaxSweepRows)
            + " are allowed";
        return false;
    }
    const int decimals = std::max({ Decimals(parts[0]), Decimals(parts[1]), Decimals(parts[2]) });
    sweep.values.clear();
    for (int i = 0; i < static_cast<int>(rows); ++i)
        sweep.values.push_back(Fixed(from + i * step, decimals));
    return true;
}

} // namespace latcap::batch
