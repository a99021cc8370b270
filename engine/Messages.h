#pragma once

// The program's own texts, shared by the window and the batch tool; the
// dialogs' texts are the desktop's.
namespace latcap::text {

inline constexpr const char* kNotEnoughData = "Not Enough Data";
inline constexpr const char* kMomentIteration = "Calculating Moment - Iteration Problem";
inline constexpr const char* kDepthIteration = "Calculating Depth - Iteration Problem";
inline constexpr const char* kMomentArithmetic = "Calculating Moment - Arithmetic Problem";
inline constexpr const char* kDepthArithmetic = "Calculating Depth - Arithmetic Problem";
inline constexpr const char* kKqTableFile = "KqTable.CSV";
inline constexpr const char* kKcTableFile = "KcTable.CSV";
inline constexpr const char* kIniFile = "Latcap.ini";
inline constexpr const char* kDefaultCsf = "0.5";

} // namespace latcap::text
