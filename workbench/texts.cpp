#include "workbench/texts.h"

namespace navorix {

namespace {

// The last line of the questions before a status file is replaced; none
// when nothing will be kept.
std::string KeptNote(std::string_view KeptAs) {
  if (KeptAs.empty()) return {};
  return "|(The old file is kept as " + std::string(KeptAs) + ".)";
}

}  // namespace

std::string IncompleteFileQuestion(std::string_view FileName, std::string_view KeptAs) {
  return std::string(FileName) +
         " could not be read completely.|Replace it with what Navorix shows now?" +
         KeptNote(KeptAs);
}

std::string ChangedFileQuestion(std::string_view FileName, std::string_view KeptAs) {
  return std::string(FileName) +
         " was changed on the disk|since Navorix last read or saved it.|"
         "Replace it with what Navorix shows now?" +
         KeptNote(KeptAs);
}

std::string SharedFileQuestion(std::string_view FileName, std::string_view KeptAs) {
  return "Another copy of Navorix uses the same data directory.|Replace its " +
         std::string(FileName) + " with what this copy shows?" + KeptNote(KeptAs);
}

std::string DeleteRecordQuestion(std::uint16_t Record) {
  return "Delete log record No. " + std::to_string(Record) + "?";
}

std::string DeleteFixQuestion(std::string_view Name) {
  return "Delete fix " + std::string(Name) + " from the database?";
}

}  // namespace navorix
