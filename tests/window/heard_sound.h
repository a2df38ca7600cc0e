// What a listener hears: a recording of a sound server's output cut into
// the stretches where something sounds, each compared with the wave file it
// should be. Plain C++; the recording is 16-bit mono at the files' rate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace navorix::test {

struct TSamples {
  std::vector<float> Data;  // -1 .. 1
  int Rate = 0;             // frames per second

  double Ms(std::size_t Count) const { return 1000.0 * static_cast<double>(Count) / Rate; }
  std::size_t Count(double Ms) const { return static_cast<std::size_t>(Ms * Rate / 1000.0); }
};

// The samples of a 16-bit mono wave image; empty when it is anything else.
TSamples SamplesOfWave(const std::string& Image);
// Raw little-endian 16-bit mono samples.
TSamples SamplesOfRaw(const char* Bytes, std::size_t Size, int Rate);

// Where the line between sound and silence lies: a sample louder than
// Level (of full scale) sounds, and a stretch of at least GapMs without one
// separates two sounds.
struct TSilenceRule {
  float Level = 0;
  double GapMs = 0;
};

struct TStretch {
  std::size_t First = 0;  // first sample that sounds
  std::size_t Last = 0;   // last one, inclusive
  std::size_t Length() const { return Last - First + 1; }
};

// The sounding stretches of S[From, To) by Rule, in order.
std::vector<TStretch> SoundingStretches(const TSamples& S, const TSilenceRule& Rule, std::size_t From,
                                        std::size_t To);
// The longest quiet run between the first and the last sounding sample of
// S, in milliseconds: a sound must not contain a gap the rule splits at.
double LongestQuietInside(const TSamples& S, float Level);

// The normalised correlation of the file's samples with the recording, the
// file's first sounding sample laid on the recording's sample At, best over
// shifts of up to Slack samples either way (resampling moves a sound by a
// fraction of a sample or two).
double Correlation(const TSamples& Recording, std::size_t At, const TSamples& File, float Level,
                   std::size_t Slack);

// Where the file sounds best in the recording: the sample of the recording
// on which the file's first sample lies, searched from From to To, and the
// normalised correlation there. For a sound that may be joined to another
// with no silence between them.
struct TPlacement {
  std::size_t At = 0;
  double Correlation = -1;
};
TPlacement BestPlacement(const TSamples& Recording, std::size_t From, std::size_t To, const TSamples& File);

}  // namespace navorix::test
