#include "tests/window/heard_sound.h"

#include "window/sound/wave.h"

#include <algorithm>
#include <cmath>

namespace navorix::test {

namespace {

float sample16(const unsigned char* P) {
  return static_cast<float>(static_cast<std::int16_t>(static_cast<std::uint16_t>(P[0] | (P[1] << 8)))) /
         32768.0F;
}

bool sounds(float sample, float level) { return std::fabs(sample) > level; }

// The normalised correlation with the file's first sample on start.
double correlationAt(const Samples& recording, std::size_t start, const Samples& file, double fileEnergy) {
  double cross = 0;
  double energy = 0;
  const std::size_t end = std::min(recording.data.size(), start + file.data.size());
  for (std::size_t i = start; i < end; ++i) {
    const auto x = static_cast<double>(recording.data[i]);
    cross += x * static_cast<double>(file.data[i - start]);
    energy += x * x;
  }
  return energy > 0 && fileEnergy > 0 ? cross / std::sqrt(energy * fileEnergy) : 0;
}

}  // namespace

Samples samplesOfWave(const std::string& image) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(image.data());
  const auto format = parseWave(bytes, image.size());
  if (!format || format->channels != 1 || format->bitsPerSample != 16 || format->real) return {};
  Samples s =
      samplesOfRaw(image.data() + format->dataOffset, format->dataSize, static_cast<int>(format->sampleRate));
  return s;
}

Samples samplesOfRaw(const char* bytes, std::size_t size, int rate) {
  Samples s;
  s.rate = rate;
  s.data.reserve(size / 2);
  const auto* p = reinterpret_cast<const unsigned char*>(bytes);
  for (std::size_t i = 0; i + 1 < size; i += 2) s.data.push_back(sample16(p + i));
  return s;
}

std::vector<Stretch> soundingStretches(const Samples& S, const SilenceRule& rule, std::size_t from,
                                       std::size_t to) {
  std::vector<Stretch> stretches;
  to = std::min(to, S.data.size());
  const std::size_t gap = std::max<std::size_t>(1, S.count(rule.gapMs));
  bool open = false;
  Stretch current;
  for (std::size_t i = from; i < to; ++i) {
    if (!sounds(S.data[i], rule.level)) continue;
    if (open && i - current.last >= gap) {
      stretches.push_back(current);
      open = false;
    }
    if (!open) {
      current.first = i;
      open = true;
    }
    current.last = i;
  }
  if (open) stretches.push_back(current);
  return stretches;
}

double longestQuietInside(const Samples& S, float level) {
  std::size_t longest = 0;
  bool started = false;
  std::size_t last = 0;
  for (std::size_t i = 0; i < S.data.size(); ++i) {
    if (!sounds(S.data[i], level)) continue;
    if (started) longest = std::max(longest, i - last - 1);
    started = true;
    last = i;
  }
  return S.ms(longest);
}

double correlation(const Samples& recording, std::size_t at, const Samples& file, float level,
                   std::size_t slack) {
  const auto first =
      std::find_if(file.data.begin(), file.data.end(), [level](float x) { return sounds(x, level); });
  if (first == file.data.end()) return 0;
  const auto lead = static_cast<std::size_t>(first - file.data.begin());
  const std::size_t from = at > lead + slack ? at - lead - slack : 0;
  return bestPlacement(recording, from, at - std::min(at, lead) + slack + 1, file).correlation;
}

Placement bestPlacement(const Samples& recording, std::size_t from, std::size_t to, const Samples& file) {
  double fileEnergy = 0;
  for (const float y : file.data) fileEnergy += static_cast<double>(y) * static_cast<double>(y);
  Placement best;
  for (std::size_t at = from; at < to; ++at) {
    const double r = correlationAt(recording, at, file, fileEnergy);
    if (r > best.correlation) best = {at, r};
  }
  return best;
}

}  // namespace navorix::test
