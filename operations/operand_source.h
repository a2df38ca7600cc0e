// Where the dispatcher gets the operands of an operation: the operation
// input dialog of the window, or a script line of the batch program.
//
// Every entry shows (or reads) one layout under the given title and returns
// true with its outputs written, or false when the user cancelled; on false
// the outputs are untouched and the operation does not run. Fix outputs are
// 1-based positions in the fix database, distances the number typed in the
// current distance unit, azimuths the signed number of degrees typed.
#pragma once

#include <cstdint>
#include <string_view>

namespace navorix {

class TOperandSource {
 public:
  virtual ~TOperandSource() = default;

  virtual bool AskOneFix(std::string_view Title, std::uint16_t& Fix) = 0;
  virtual bool AskTwoFixes(std::string_view Title, std::uint16_t& First, std::uint16_t& Second) = 0;
  virtual bool AskFixDistAzim(std::string_view Title, std::uint16_t& Fix, long double& Distance,
                              long double& Azimuth) = 0;
  virtual bool AskArcDist(std::string_view Title, std::uint16_t& ArcStart, std::uint16_t& ArcEnd,
                          long double& Distance) = 0;
  virtual bool AskArcFixDist(std::string_view Title, std::uint16_t& ArcStart, std::uint16_t& ArcEnd,
                             std::uint16_t& Fix, long double& Distance) = 0;
  virtual bool AskArcFix(std::string_view Title, std::uint16_t& ArcStart, std::uint16_t& ArcEnd,
                         std::uint16_t& Fix) = 0;
  virtual bool AskTwoArcs(std::string_view Title, std::uint16_t& Arc1Start, std::uint16_t& Arc1End,
                          std::uint16_t& Arc2Start, std::uint16_t& Arc2End) = 0;
};

}  // namespace navorix
