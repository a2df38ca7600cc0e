// What a listener hears: a recording of a sound server's output cut into
// the stretches where something sounds, each compared with the wave file it
// should be. Plain C++; the recording is 16-bit mono at the files' rate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace navorix::test {

struct Samples {
  std::vector<float> data;  // -1 .. 1
  int rate = 0;             // frames per second

  double ms(std::size_t count) const { return 1000.0 * static_cast<double>(count) / rate; }
  std::size_t count(double ms) const { return static_cast<std::size_t>(ms * rate / 1000.0); }
};

// The samples of a 16-bit mono wave image; empty when it is anything else.
Samples samplesOfWave(const std::string& image);
// Raw little-endian 16-bit mono samples.
Samples samplesOfRaw(const char* bytes, std::size_t size, int rate);

// Where the line between sound and silence lies: a sample louder than
// Level (of full scale) sounds, and a stretch of at least gapMs without one
// separates two sounds.
struct SilenceRule {
  float level = 0;
  double gapMs = 0;
};

struct Stretch {
  std::size_t first = 0;  // first sample that sounds
  std::size_t last = 0;   // last one, inclusive
  std::size_t length() const { return last - first + 1; }
};

// The sounding stretches of S[from, to) by rule, in order.
std::vector<Stretch> soundingStretches(const Samples& S, const SilenceRule& rule, std::size_t from,
                                       std::size_t to);
// The longest quiet run between the first and the last sounding sample of
// S, in milliseconds: a sound must not contain a gap the rule splits at.
double longestQuietInside(const Samples& S, float level);

// The normalised correlation of the file's samples with the recording, the
// file's first sounding sample laid on the recording's sample at, best over
// shifts of up to slack samples either way (resampling moves a sound by a
// fraction of a sample or two).
double correlation(const Samples& recording, std::size_t at, const Samples& file, float level,
                   std::size_t slack);

// Where the file sounds best in the recording: the sample of the recording
// on which the file's first sample lies, searched from From to To, and the
// normalised correlation there. For a sound that may be joined to another
// with no silence between them.
struct Placement {
  std::size_t at = 0;
  double correlation = -1;
};
Placement bestPlacement(const Samples& recording, std::size_t from, std::size_t to, const Samples& file);

}  // namespace navorix::test
