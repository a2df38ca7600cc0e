// The texts of the workbench that the user reads: questions, messages and
// the captions of the Options submenus. Both front ends take them from
// here. In a question, "|" ends a line of the question box.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "stores/settings.h"

namespace navorix {

namespace msg {
inline constexpr const char* NameInUse = "This fix name is already in use";
// Leaving with Yes after the user chose not to replace a status file.
inline constexpr const char* NotLeaving = "Status not saved in full, so Navorix stays open";
}  // namespace msg

namespace question {
inline constexpr const char* Exit = "You are about to leave Navorix.|Would you like to save the status?";
inline constexpr const char* ClearLog = "This will clear the operation log.|Do you wish to proceed?";
inline constexpr const char* ClearFixes = "This will clear the fix database.|Do you wish to proceed?";
inline constexpr const char* ClearAll =
    "This will clear the operation log and the fix database.|Do you wish to proceed?";
inline constexpr const char* ClearBeforeLoading =
    "Do you wish to clear the fix database|before loading the new file?";
inline constexpr const char* ClearBeforeImporting =
    "Do you wish to clear the fix database|before importing the fixes?";
inline constexpr const char* Overwrite = "This file already exists.|Do you wish to overwrite it?";
inline constexpr const char* ReloadStatus =
    "This will discard the changes made since|the status was last loaded or saved.|"
    "Do you wish to proceed?";
}  // namespace question

// Before a status file is replaced although it could not be read
// completely, or although it changed on the disk since Navorix last read or
// saved it; keptAs is the name its present version is kept under ("" when
// there is none to keep).
std::string IncompleteFileQuestion(std::string_view fileName, std::string_view keptAs);
std::string ChangedFileQuestion(std::string_view fileName, std::string_view keptAs);
// Before a status file is replaced while another copy of Navorix works on
// the same data directory.
std::string SharedFileQuestion(std::string_view fileName, std::string_view keptAs);

// "Delete log record No. N?"
std::string DeleteRecordQuestion(std::uint16_t record);
// "Delete fix NAME from the database?"
std::string DeleteFixQuestion(std::string_view name);

// Captions of the fix input dialog.
inline constexpr const char* NewFixCaption = " New Fix";
inline constexpr const char* EditFixCaption = " Edit Fix";

}  // namespace navorix
