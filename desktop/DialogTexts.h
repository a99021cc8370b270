#pragma once

// The texts of the program's dialogs and message boxes.
namespace latcap::text {

inline constexpr const char* kAppTitle = "Lateral And Moment Pile Capacity - Brinch Hansen Method";
inline constexpr const char* kErrorTitle = "Error";
inline constexpr const char* kReplaceFile = "Replace Existing File ?";
inline constexpr const char* kWarningTitle = "Warning";
inline constexpr const char* kSaveReportTitle = "Save Report";
// name|pattern pairs, as the save dialog takes them.
inline constexpr const char* kReportFilter = "CSV files(*.csv)|*.csv|All files (*.*)|*.*";

} // namespace latcap::text
