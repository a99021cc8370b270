#pragma once

#include <string_view>

// The masks by which the program shows its numbers (see FormatMask).
namespace latcap::mask {

inline constexpr std::string_view kDepth = "##0.000"; // the depth box after Calc L, depths in reports
inline constexpr std::string_view kMoment = "####0.00"; // the moment box after Calc M
inline constexpr std::string_view kZr = "###0.000"; // the point of rotation
inline constexpr std::string_view kLargest = "#####0.0#"; // the largest moment and shear
inline constexpr std::string_view kDetails = "#####0.0##"; // the calculation details file
inline constexpr std::string_view kTable = "###0.00"; // the Kq and Kc table files
inline constexpr std::string_view kRatio = "0.000"; // utilisation, coefficients and depth ratios, ratios of answers
inline constexpr std::string_view kFactor = "0.00"; // the factor of safety 1 / CSF
inline constexpr std::string_view kSlenderness = "0.0"; // L / D, differences in per cent

} // namespace latcap::mask
