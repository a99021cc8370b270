#pragma once

// The program's own texts, shared by the window and the batch tool.
namespace latcap::text {

inline constexpr const char* kAppTitle = "Lateral And Moment Pile Capacity - Brinch Hansen Method";
inline constexpr const char* kNotEnoughData = "Not Enough Data";
inline constexpr const char* kErrorTitle = "Error";
inline constexpr const char* kMomentIteration = "Calculating Moment - Iteration Problem";
inline constexpr const char* kDepthIteration = "Calculating Depth - Iteration Problem";
inline constexpr const char* kMomentArithmetic = "Calculating Moment - Arithmetic Problem";
inline constexpr const char* kDepthArithmetic = "Calculating Depth - Arithmetic Problem";
inline constexpr const char* kDepthWait = "Calculating Depth - Please Wait";
inline constexpr const char* kMomentWait = "Calculating Moment - Please Wait";
inline constexpr const char* kReplaceFile = "Replace Existing File ?";
inline constexpr const char* kWarningTitle = "Warning";
inline constexpr const char* kSaveReportTitle = "Save Report";
inline constexpr const char* kReportFilter = "CSV files(*.csv)|*.csv|All files (*.*)|*.*";
inline constexpr const char* kKqTableFile = "KqTable.CSV";
inline constexpr const char* kKcTableFile = "KcTable.CSV";
inline constexpr const char* kIniFile = "Latcap.ini";
inline constexpr const char* kDefaultCsf = "0.5";

} // namespace latcap::text
