#include "Study.h"

#include "CaseFile.h"
#include "NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace latcap::batch {
namespace {

    // A finite number that is the whole text, by the program's number rule.
    bool ParseNumber(std::string_view text, double& value)
    {
        const NumberReading reading = ReadNumberText(TrimBlanks(text));
        value = reading.value;
        return reading.whole && std::isfinite(value);
    }

    // Decimals a number text carries: "0.25" two, "1.5E-2" three, "100" none;
    // an exponent beyond any range saturates instead of overflowing.
    int Decimals(std::string_view raw)
    {
        // The number rule passes over blanks anywhere, so count without them.
        std::string compact;
        for (const char c : raw) {
            if (!IsBlank(c))
                compact.push_back(c);
        }
        const std::string_view text = compact;
        const std::size_t exponentAt = text.find_first_of("eE");
        const std::string_view mantissa = text.substr(0, exponentAt);
        // Zero needs no decimals, whatever its exponent says.
        if (mantissa.find_first_of("123456789") == std::string_view::npos)
            return 0;
        const std::size_t point = mantissa.find('.');
        long long decimals = point == std::string_view::npos ? 0 : static_cast<long long>(mantissa.size() - point - 1);
        if (exponentAt != std::string_view::npos) {
            std::string_view digits = text.substr(exponentAt + 1);
            const bool negative = !digits.empty() && digits.front() == '-';
            if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
                digits.remove_prefix(1);
            long long exponent = 0;
            for (const char c : digits) {
                if (c >= '0' && c <= '9')
                    exponent = std::min(exponent * 10 + (c - '0'), 1'000'000LL);
            }
            decimals += negative ? exponent : -exponent;
        }
        return static_cast<int>(std::clamp(decimals, 0LL, 40LL));
    }

    // value in fixed point with the decimals given, never cut short; no minus
    // sign on a value shown as zero.
    std::string Fixed(double value, int decimals)
    {
        char buffer[400];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
        std::string text(buffer, result.ptr);
        if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos)
            text.erase(0, 1);
        return text;
    }

    // How many times step fits from `from` to `to`, plus one: exactly, in
    // whole units of the last decimal where the numbers allow, else within a
    // rounding of the quotient. Infinity when beyond counting.
    double RowCount(double from, double to, double step, int decimals)
    {
        const double scale = std::pow(10.0, decimals);
        const double limit = 9e15; // whole numbers a double holds exactly
        const double a = std::round(from * scale), b = std::round(to * scale), s = std::round(step * scale);
        if (decimals <= 15 && std::fabs(a) < limit && std::fabs(b) < limit && s != 0 && std::fabs(s) < limit) {
            const auto first = static_cast<std::int64_t>(a);
            const auto last = static_cast<std::int64_t>(b);
            const auto stride = static_cast<std::int64_t>(s);
            return static_cast<double>((last - first) / stride + 1);
        }
        const double steps = (to - from) / step;
        return std::isfinite(steps) ? std::floor(steps * (1 + 1e-12)) + 1 : steps;
    }

    std::string CountText(double rows)
    {
        return rows < 9e15 ? Fixed(rows, 0) + " calculations"
                           : "more than " + std::to_string(kMaxSweepRows) + " calculations";
    }

} // namespace

std::string Sweep::Value(std::size_t row) const { return Fixed(from + static_cast<double>(row) * step, decimals); }

bool ParseSetting(std::string_view text, CaseSetting& setting, std::string& error)
{
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos || TrimBlanks(text.substr(0, equals)).empty()) {
        error = "--set needs KEY=VALUE, e.g. \"layer 2.cohesion=40\"; found " + QuotedText(text);
        return false;
    }
    setting.key = TrimBlanks(text.substr(0, equals));
    setting.value = TrimBlanks(text.substr(equals + 1));
    return true;
}

bool ParseSweep(std::string_view text, Sweep& sweep, std::string& error)
{
    const std::string shown = "--vary " + QuotedText(text);
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        error = "--vary needs KEY=FROM:TO:STEP, e.g. H=10:100:10; found " + QuotedText(text);
        return false;
    }
    sweep.key = TrimBlanks(text.substr(0, equals));
    std::string keyError;
    if (!IsSingleNumberKey(sweep.key, keyError)) {
        error = shown + ": " + keyError;
        return false;
    }
    sweep.name = CaseKeyName(sweep.key);
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
    double to = 0;
    if (parts.size() != 3 || !ParseNumber(parts[0], sweep.from) || !ParseNumber(parts[1], to)
        || !ParseNumber(parts[2], sweep.step)) {
        error = shown + ": the range must be three numbers FROM:TO:STEP, e.g. 10:100:10";
        return false;
    }
    if (sweep.step == 0) {
        error = shown + ": the step must not be zero";
        return false;
    }
    if ((to - sweep.from) / sweep.step < 0) {
        error = shown + ": a " + (sweep.step > 0 ? "positive" : "negative") + " step never gets from "
            + std::string(TrimBlanks(parts[0])) + " to " + std::string(TrimBlanks(parts[1]));
        return false;
    }
    sweep.decimals = std::max({ Decimals(parts[0]), Decimals(parts[1]), Decimals(parts[2]) });
    const double rows = RowCount(sweep.from, to, sweep.step, sweep.decimals);
    if (!(rows <= static_cast<double>(kMaxSweepRows))) {
        error = shown + ": that is " + CountText(rows) + "; at most " + std::to_string(kMaxSweepRows) + " are allowed";
        return false;
    }
    sweep.count = static_cast<std::size_t>(rows);
    // Each value must read back as itself: a text too long or too coarse for
    // it would silently compute something else.
    for (const std::size_t row : { std::size_t { 0 }, sweep.count - 1 }) {
        const double value = sweep.from + static_cast<double>(row) * sweep.step;
        const double read = ReadNumber(sweep.Value(row));
        if (!(std::fabs(read - value) <= 1e-9 * std::max(std::fabs(value), std::fabs(sweep.step)))) {
            error = shown + ": the value " + ShortestText(value) + " cannot be written exactly enough";
            return false;
        }
    }
    // Nor may the doubles drift from the decimal values meant by more than a
    // millionth of the step: from, step, their product and sum round by at
    // most four units of the last place of the largest value between them,
    // and writing a value rounds by at most as much again.
    const double largest
        = std::max(std::fabs(sweep.from), std::fabs(sweep.from + double(sweep.count - 1) * sweep.step));
    if (8 * std::numeric_limits<double>::epsilon() * largest > 1e-6 * std::fabs(sweep.step)) {
        const std::string_view large = TrimBlanks(parts[std::fabs(to) > std::fabs(sweep.from) ? 1 : 0]);
        error = shown + ": the step " + std::string(TrimBlanks(parts[2])) + " is too fine for values as large as "
            + std::string(large) + ": they would not be spaced exactly";
        return false;
    }
    return true;
}

bool DistinctKeys(const std::vector<Sweep>& sweeps, std::string& error)
{
    for (std::size_t i = 0; i < sweeps.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (sweeps[j].name == sweeps[i].name) {
                error = "--vary " + sweeps[j].key + " and --vary " + sweeps[i].key + " vary the same value";
                return false;
            }
        }
    }
    return true;
}

bool KeysUsed(const std::vector<Sweep>& sweeps, int layerCount, std::string& error, bool customFactors)
{
    // The most layers any row has.
    const auto layers
        = std::find_if(sweeps.begin(), sweeps.end(), [](const Sweep& sweep) { return sweep.name == "layers"; });
    int most = layerCount;
    if (layers != sweeps.end()) {
        const double last = layers->from + double(layers->count - 1) * layers->step;
        most = static_cast<int>(std::clamp(std::max(layers->from, last), 0.0, 9.0));
    }
    for (const Sweep& sweep : sweeps) {
        const auto refuse = [&](const std::string& why) {
            error = "--vary " + sweep.key + ": " + why;
            return false;
        };
        if (sweep.name == "title")
            return refuse("the title is no input of the calculation");
        for (const char* detail : { "project", "job", "client", "engineer", "checker", "revision" }) {
            if (sweep.name == detail)
                return refuse("the job details are no input of the calculation");
        }
        for (const char* factor : kCustomFactorKeys) {
            if (sweep.name == factor && !customFactors)
                return refuse("the case's factors are not custom, so the " + sweep.name + " is not used");
        }
        const std::string_view layer = "layer ";
        if (sweep.name.rfind(layer, 0) != 0)
            continue;
        const int number = sweep.name[layer.size()] - '0';
        if (number > most) {
            return refuse(
                (layers != sweeps.end() ? "--vary layers goes no higher than " + std::to_string(most)
                                        : "the case has " + std::to_string(most) + (most == 1 ? " layer" : " layers"))
                + ", so layer " + std::to_string(number) + " is not used");
        }
        // The deepest layer of a row always reaches 100 m.
        if (number == most && sweep.name.substr(layer.size() + 2) == "bottom")
            return refuse("the deepest layer's bottom is always 100 m");
    }
    return true;
}

bool CountRows(const std::vector<Sweep>& sweeps, std::size_t& count)
{
    // Each sweep has at most kMaxSweepRows values, so no product of two
    // overflows before it is refused.
    count = 1;
    for (const Sweep& sweep : sweeps) {
        count *= sweep.count;
        if (count > kMaxSweepRows)
            return false;
    }
    return true;
}

std::vector<std::string> RowValues(const std::vector<Sweep>& sweeps, std::size_t row)
{
    std::vector<std::string> values(sweeps.size());
    for (std::size_t i = sweeps.size(); i-- > 0;) {
        values[i] = sweeps[i].Value(row % sweeps[i].count);
        row /= sweeps[i].count;
    }
    return values;
}

std::size_t Shard::First(std::size_t rows) const
{
    return static_cast<std::size_t>((static_cast<unsigned __int128>(part - 1) * rows) / parts);
}

std::size_t Shard::Last(std::size_t rows) const
{
    return static_cast<std::size_t>((static_cast<unsigned __int128>(part) * rows) / parts);
}

bool ParseShard(std::string_view text, Shard& shard, std::string& error)
{
    const std::size_t slash = text.find('/');
    const auto whole = [](std::string_view digits, std::size_t& value) {
        digits = TrimBlanks(digits);
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        return ec == std::errc() && end == digits.data() + digits.size();
    };
    if (slash == std::string_view::npos || !whole(text.substr(0, slash), shard.part)
        || !whole(text.substr(slash + 1), shard.parts) || shard.parts == 0 || shard.part == 0
        || shard.part > shard.parts) {
        error = "--shard needs K/N with 1 <= K <= N, e.g. 2/4; found " + QuotedText(text);
        return false;
    }
    return true;
}

} // namespace latcap::batch
