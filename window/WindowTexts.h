#pragma once

#include <string_view>

// The window's own texts and the masks of its lists.
namespace latcap::text {

inline constexpr const char* kDepthWait = "Calculating Depth - Please Wait";
inline constexpr const char* kMomentWait = "Calculating Moment - Please Wait";

} // namespace latcap::text

namespace latcap::mask {

inline constexpr std::string_view kLayerCount = "##"; // the layer count list and layer numbers
inline constexpr std::string_view kAngle = "##0"; // the friction angle lists

} // namespace latcap::mask
