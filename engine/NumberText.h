#pragma once

#include <string>
#include <string_view>

namespace latcap {

// Reads the number a user typed into a box: blanks, tabs and line breaks are
// ignored anywhere, the longest leading decimal number (sign, digits, a full
// stop with digits, an exponent E with sign and digits) is taken and the rest
// ignored. A text without a number reads as 0. Too large a number reads as an
// infinity of its sign.
double ReadNumber(std::string_view text);

// What a box's text reads as, and whether it says so plainly: `whole` when the
// text, blanks aside, is nothing but that number ("1e3", "+4", "-0.5");
// `empty` when it holds nothing but blanks. "5,5", "25 kPa", "1e", "." and
// "five" are neither: they read as 5, 25, 1, 0 and 0.
// `misread` when the reading plainly differs from what was typed: the text
// holds no number at all ("five", "."), or what the reading passes over holds
// a digit ("5,5", "1.2.3"), or blanks split the number other than into
// thousands ("2 5", but not "1 000"). "50 kN", "18 kN/m3", "5 m2" and
// "0.5 ; remark" are read as meant: a unit may hold the power of a length.
struct NumberReading {
    double value = 0.0;
    bool whole = false;
    bool empty = true;
    bool misread = false;
};
NumberReading ReadNumberText(std::string_view text);

// The blanks the number rule passes over, and that case files and studies
// trim: blank, tab, line feed and carriage return.
constexpr bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// text without blanks at either end.
std::string_view TrimBlanks(std::string_view text);

// text in lower case with blanks at either end left out and every run of
// blanks inside made one space, so that "Layer  2" and "layer 2" are the same.
std::string NormalText(std::string_view text);

// text between double quotes for a message, with control characters and
// bytes that are not UTF-8 written as escapes: "6\0" for a NUL, "\x01", "\xff".
// Characters that show nothing or turn the text around (a byte-order mark,
// zero-width and direction controls) are written as "\uFEFF".
std::string QuotedText(std::string_view text);

// text with each byte that is not part of well-formed UTF-8 written as an
// escape ("\xff"), so that it shows as it is and reads back the same.
std::string ValidUtf8Text(std::string_view text);

// value with at least `digits` significant figures in fixed point, e.g.
// 0.027540 or 226.08 for five; at most 9 decimals.
std::string SignificantText(double value, int digits);

// The shortest text that reads back as the value, e.g. "1.2" or "1e+39".
std::string ShortestText(float value);
std::string ShortestText(double value);

// Formats value by a mask of '0', '#' and '.', e.g. "##0.000" or "#####0.0#":
// at least as many integer digits as there are '0's before the point, at
// least as many decimals as '0's after it and at most as many as '0's and
// '#'s, rounded half away from zero at the last decimal shown. Full stop as
// decimal point, no grouping, and no minus sign on a value shown as zero.
std::string FormatMask(double value, std::string_view mask);

} // namespace latcap
