#include "workbench/texts.h"

namespace navorix {

namespace {

// The last line of the questions before a status file is replaced; none
// when nothing will be kept.
std::string KeptNote(std::string_view keptAs) {
  if (keptAs.empty()) return {};
  return "|(The old file is kept as " + std::string(keptAs) + ".)";
}

}  // namespace

std::string IncompleteFileQuestion(std::string_view fileName, std::string_view keptAs) {
  return std::string(fileName) + " could not be read completely.|Replace it with what Navorix shows now?" +
         KeptNote(keptAs);
}

std::string ChangedFileQuestion(std::string_view fileName, std::string_view keptAs) {
  return std::string(fileName) +
         " was changed on the disk|since Navorix last read or saved it.|"
         "Replace it with what Navorix shows now?" +
         KeptNote(keptAs);
}

std::string SharedFileQuestion(std::string_view fileName, std::string_view keptAs) {
  return "Another copy of Navorix uses the same data directory.|Replace its " + std::string(fileName) +
         " with what this copy shows?" + KeptNote(keptAs);
}

std::string DeleteRecordQuestion(std::uint16_t record) {
  return "Delete log record No. " + std::to_string(record) + "?";
}

std::string DeleteFixQuestion(std::string_view name) {
  return "Delete fix " + std::string(name) + " from the database?";
}

}  // namespace navorix
