#include "NumberText.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>
#include <vector>

namespace latcap {
namespace {

    bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

NumberReading ReadNumberText(std::string_view text)
{
    NumberReading reading;
    std::string compact;
    compact.reserve(text.size());
    // For each kept character, whether blanks stood right before it.
    std::vector<bool> afterBlank;
    afterBlank.reserve(text.size());
    bool blank = false;
    for (char c : text) {
        if (IsBlank(c)) {
            blank = true;
            continue;
        }
        compact.push_back(c);
        afterBlank.push_back(blank);
        blank = false;
    }

    reading.empty = compact.empty();
    std::size_t pos = 0;
    bool negative = false;
    if (pos < compact.size() && (compact[pos] == '+' || compact[pos] == '-')) {
        negative = compact[pos] == '-';
        ++pos;
    }
    const std::size_t mantissaStart = pos;
    std::size_t intDigits = 0;
    while (pos < compact.size() && IsDigit(compact[pos])) {
        ++pos;
        ++intDigits;
    }
    std::size_t fracDigits = 0;
    if (pos < compact.size() && compact[pos] == '.') {
        std::size_t after = pos + 1;
        while (after < compact.size() && IsDigit(compact[after])) {
            ++after;
            ++fracDigits;
        }
        if (fracDigits > 0 || intDigits > 0)
            pos = after;
    }
    if (intDigits == 0 && fracDigits == 0) {
        reading.misread = !reading.empty;
        return reading;
    }
    std::size_t end = pos;
    if (pos < compact.size() && (compact[pos] == 'e' || compact[pos] == 'E')) {
        std::size_t after = pos + 1;
        if (after < compact.size() && (compact[after] == '+' || compact[after] == '-'))
            ++after;
        const std::size_t expDigitsStart = after;
        while (after < compact.size() && IsDigit(compact[after]))
            ++after;
        if (after > expDigitsStart)
            end = after;
    }

    std::string_view number(compact.data() + mantissaStart, end - mantissaStart);
    double magnitude = 0.0;
    const auto [ptr, ec]
        = std::from_chars(number.data(), number.data() + number.size(), magnitude, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Out of range means too large or too small for a double: decide by
        // the decimal exponent of the first significant digit.
        long long firstDigitExponent = 0;
        bool found = false;
        long long position = static_cast<long long>(intDigits);
        for (char c : number.substr(0, intDigits + (fracDigits ? fracDigits + 1 : 0))) {
            if (c == '.')
                continue;
            --position;
            if (c != '0' && !found) {
                firstDigitExponent = position;
                found = true;
            }
        }
        long long exponent = 0;
        const std::size_t ePos = number.find_first_of("eE");
        if (ePos != std::string_view::npos) {
            std::string_view expText = number.substr(ePos + 1);
            const bool expNegative = !expText.empty() && expText.front() == '-';
            if (!expText.empty() && (expText.front() == '-' || expText.front() == '+'))
                expText.remove_prefix(1);
            for (char c : expText) {
                if (exponent < 1'000'000'000LL)
                    exponent = exponent * 10 + (c - '0');
            }
            if (expNegative)
                exponent = -exponent;
        }
        magnitude = found && firstDigitExponent + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (ec != std::errc() || ptr != number.data() + number.size()) {
        magnitude = 0.0;
    }
    reading.value = negative ? -magnitude : magnitude;
    reading.whole = end == compact.size();
    const auto digitAt = [&](std::size_t at) { return at < compact.size() && IsDigit(compact[at]); };
    bool split = false;
    std::size_t group = 0; // digits since the last blank of the integer part
    bool grouped = false;
    for (std::size_t at = mantissaStart; at < end; ++at) {
        const bool joined = IsDigit(compact[at]) && afterBlank[at] && at > mantissaStart && digitAt(at - 1);
        if (at < mantissaStart + intDigits) {
            if (joined) {
                // Thousands: a first group of one to three digits, then threes.
                split = split || group == 0 || group > 3 || (grouped && group != 3);
                grouped = true;
                group = 0;
            }
            ++group;
        } else {
            split = split || joined;
        }
    }
    split = split || (grouped && group != 3);
    // A unit after the number may hold the power of a length ("18 kN/m3",
    // "5 m2", "kNm2", "mm4"): one digit from 2 to 4 right after an m, or
    // after "m^". The unit starts with a letter, and one right after the
    // number is not the letter of an exponent ("1e-x5" stays marked).
    const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    const bool unit = end < compact.size() && isLetter(compact[end])
        && (afterBlank[end] || (compact[end] != 'e' && compact[end] != 'E'));
    const auto unitPower = [&](std::size_t at) {
        if (!unit || compact[at] < '2' || compact[at] > '4' || afterBlank[at] || digitAt(at + 1))
            return false;
        std::size_t base = at - 1;
        if (compact[base] == '^' && base > end && !afterBlank[base])
            --base;
        return compact[base] == 'm';
    };
    bool digitPassedOver = false;
    for (std::size_t at = end; at < compact.size(); ++at)
        digitPassedOver = digitPassedOver || (IsDigit(compact[at]) && !unitPower(at));
    reading.misread = split || digitPassedOver;
    return reading;
}

double ReadNumber(std::string_view text) { return ReadNumberText(text).value; }

namespace {

    template <typename Number> std::string Shortest(Number value)
    {
        char text[32];
        const auto result = std::to_chars(text, text + sizeof text, value);
        return std::string(text, result.ptr);
    }

} // namespace

std::string ShortestText(float value) { return Shortest(value); }

namespace {

    // The length of the well-formed UTF-8 sequence at text[at], else 0
    // (a stray byte, an overlong form, a surrogate, past U+10FFFF).
    std::size_t Utf8Length(std::string_view text, std::size_t at)
    {
        const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
        const unsigned char c = byte(at);
        const std::size_t length = c < 0x80 ? 1
            : (c >= 0xC2 && c <= 0xDF)      ? 2
            : (c >= 0xE0 && c <= 0xEF)      ? 3
            : (c >= 0xF0 && c <= 0xF4)      ? 4
                                            : 0;
        if (length == 0 || at + length > text.size())
            return 0;
        for (std::size_t k = 1; k < length; ++k) {
            if ((byte(at + k) & 0xC0) != 0x80)
                return 0;
        }
        const unsigned char second = length > 1 ? byte(at + 1) : 0;
        if ((c == 0xE0 && second < 0xA0) || (c == 0xED && second >= 0xA0) || (c == 0xF0 && second < 0x90)
            || (c == 0xF4 && second >= 0x90))
            return 0;
        return length;
    }

    char32_t CodePoint(std::string_view text, std::size_t at, std::size_t length)
    {
        const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
        if (length == 1)
            return byte(at);
        char32_t point = byte(at) & (0xFF >> (length + 1));
        for (std::size_t k = 1; k < length; ++k)
            point = (point << 6) | (byte(at + k) & 0x3F);
        return point;
    }

    // Characters that show nothing, or turn the text around them: the
    // byte-order mark, the zero-width and the direction controls.
    bool Invisible(char32_t c)
    {
        return (c >= 0x80 && c <= 0x9F) || c == 0xAD || c == 0x061C || (c >= 0x200B && c <= 0x200F)
            || (c >= 0x2028 && c <= 0x202E) || (c >= 0x2060 && c <= 0x2069) || c == 0xFEFF;
    }

    constexpr char kHex[] = "0123456789ABCDEF";

    // A byte as "\x1b", in small letters as bytes are written.
    void AppendByteEscape(std::string& out, unsigned char c)
    {
        static constexpr char kSmallHex[] = "0123456789abcdef";
        out += "\\x";
        out += kSmallHex[c >> 4];
        out += kSmallHex[c & 0xF];
    }

} // namespace

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string NormalText(std::string_view text)
{
    std::string out;
    bool blank = false;
    for (const char c : TrimBlanks(text)) {
        if (IsBlank(c)) {
            blank = true;
            continue;
        }
        if (blank)
            out += ' ';
        blank = false;
        out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string QuotedText(std::string_view text)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t length = Utf8Length(text, i);
        const char32_t point = length > 0 ? CodePoint(text, i, length) : 0;
        if (c == 0) {
            out += "\\0";
        } else if (length == 0 || c < 0x20 || c == 0x7F) {
            AppendByteEscape(out, c);
            length = 1;
        } else if (Invisible(point)) {
            out += "\\u";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += kHex[(point >> shift) & 0xF];
        } else {
            out.append(text.substr(i, length));
        }
        i += length;
    }
    return out + "\"";
}

std::string ValidUtf8Text(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8Length(text, i);
        if (length == 0)
            AppendByteEscape(out, static_cast<unsigned char>(text[i]));
        else
            out.append(text.substr(i, length));
        i += length == 0 ? 1 : length;
    }
    return out;
}

std::string ShortestText(double value) { return Shortest(value); }

namespace {

    struct MaskShape {
        int minInteger = 0;
        int minDecimals = 0;
        int maxDecimals = 0;
    };

    MaskShape ParseMask(std::string_view mask)
    {
        MaskShape shape;
        bool afterPoint = false;
        for (char c : mask) {
            if (c == '.') {
                afterPoint = true;
            } else if (!afterPoint) {
                if (c == '0')
                    ++shape.minInteger;
            } else if (c == '0') {
                ++shape.minDecimals;
                ++shape.maxDecimals;
            } else if (c == '#') {
                ++shape.maxDecimals;
            }
        }
        return shape;
    }

    // The exact decimal digits of |value| with `decimals` places after the point,
    // rounded half away from zero, as integer digits and fraction digits.
    void RoundedDigits(double magnitude, int decimals, std::string& integerPart, std::string& fractionPart)
    {
        // A double's exact decimal expansion needs as many fraction digits as it
        // has binary places after the point; ask for all of them so that a tie is
        // seen as a tie.
        int exponent = 0;
        std::frexp(magnitude, &exponent);
        const int exactPlaces = std::max(0, 53 - exponent) + 1;
        const int places = std::max(exactPlaces, decimals + 1);
        std::vector<char> buffer(static_cast<std::size_t>(places) + 400);
        const auto result
            = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude, std::chars_format::fixed, places);
        std::string text(buffer.data(), result.ptr);
        const std::size_t point = text.find('.');
        std::string digits = text.substr(0, point) + text.substr(point + 1);
        const std::size_t integerDigits = point;
        const std::size_t keep = integerDigits + static_cast<std::size_t>(decimals);
        const bool roundUp = digits[keep] >= '5';
        digits.resize(keep);
        std::size_t intLength = integerDigits;
        if (roundUp) {
            std::size_t i = digits.size();
            while (i > 0 && digits[i - 1] == '9')
                digits[--i] = '0';
            if (i == 0) {
                digits.insert(digits.begin(), '1');
                ++intLength;
            } else {
                ++digits[i - 1];
            }
        }
        integerPart = digits.substr(0, intLength);
        fractionPart = digits.substr(intLength);
    }

} // namespace

std::string FormatMask(double value, std::string_view mask)
{
    const MaskShape shape = ParseMask(mask);
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Infinity" : "Infinity";

    std::string integerPart;
    std::string fractionPart;
    RoundedDigits(std::fabs(value), shape.maxDecimals, integerPart, fractionPart);

    while (static_cast<int>(fractionPart.size()) > shape.minDecimals && fractionPart.back() == '0')
        fractionPart.pop_back();
    std::size_t firstNonZero = integerPart.find_first_not_of('0');
    if (firstNonZero == std::string::npos)
        firstNonZero = integerPart.size();
    integerPart.erase(0, firstNonZero);
    while (static_cast<int>(integerPart.size()) < shape.minInteger)
        integerPart.insert(integerPart.begin(), '0');

    const bool shownAsZero = integerPart.find_first_not_of('0') == std::string::npos
        && fractionPart.find_first_not_of('0') == std::string::npos;
    std::string text;
    if (value < 0 && !shownAsZero)
        text.push_back('-');
    text += integerPart;
    if (!fractionPart.empty() || mask.find('.') != std::string_view::npos) {
        if (!fractionPart.empty() || shape.minDecimals > 0) {
            text.push_back('.');
            text += fractionPart;
        }
    }
    return text;
}

std::string SignificantText(double value, int digits)
{
    if (value == 0 || !std::isfinite(value))
        return FormatMask(value, "0");
    const int integerDigits = static_cast<int>(std::floor(std::log10(std::fabs(value)))) + 1;
    const int decimals = std::clamp(digits - integerDigits, 0, 9);
    return FormatMask(value, "0." + std::string(static_cast<std::size_t>(decimals), '0'));
}

} // namespace latcap
