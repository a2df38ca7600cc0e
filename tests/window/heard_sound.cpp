#include "tests/window/heard_sound.h"

#include "window/sound/wave.h"

#include <algorithm>
#include <cmath>

namespace navorix::test {

namespace {

float Sample16(const unsigned char* P) {
  return static_cast<float>(static_cast<std::int16_t>(static_cast<std::uint16_t>(P[0] | (P[1] << 8)))) / 32768.0F;
}

bool Sounds(float Sample, float Level) { return std::fabs(Sample) > Level; }

// The normalised correlation with the file's first sample on Start.
double CorrelationAt(const TSamples& Recording, std::size_t Start, const TSamples& File, double FileEnergy) {
  double cross = 0;
  double energy = 0;
  const std::size_t end = std::min(Recording.Data.size(), Start + File.Data.size());
  for (std::size_t i = Start; i < end; ++i) {
    const auto x = static_cast<double>(Recording.Data[i]);
    cross += x * static_cast<double>(File.Data[i - Start]);
    energy += x * x;
  }
  return energy > 0 && FileEnergy > 0 ? cross / std::sqrt(energy * FileEnergy) : 0;
}

}  // namespace

TSamples SamplesOfWave(const std::string& Image) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(Image.data());
  const auto format = ParseWave(bytes, Image.size());
  if (!format || format->Channels != 1 || format->BitsPerSample != 16 || format->Float) return {};
  TSamples s = SamplesOfRaw(Image.data() + format->DataOffset, format->DataSize,
                            static_cast<int>(format->SampleRate));
  return s;
}

TSamples SamplesOfRaw(const char* Bytes, std::size_t Size, int Rate) {
  TSamples s;
  s.Rate = Rate;
  s.Data.reserve(Size / 2);
  const auto* p = reinterpret_cast<const unsigned char*>(Bytes);
  for (std::size_t i = 0; i + 1 < Size; i += 2) s.Data.push_back(Sample16(p + i));
  return s;
}

std::vector<TStretch> SoundingStretches(const TSamples& S, const TSilenceRule& Rule, std::size_t From,
                                        std::size_t To) {
  std::vector<TStretch> stretches;
  To = std::min(To, S.Data.size());
  const std::size_t gap = std::max<std::size_t>(1, S.Count(Rule.GapMs));
  bool open = false;
  TStretch current;
  for (std::size_t i = From; i < To; ++i) {
    if (!Sounds(S.Data[i], Rule.Level)) continue;
    if (open && i - current.Last >= gap) {
      stretches.push_back(current);
      open = false;
    }
    if (!open) {
      current.First = i;
      open = true;
    }
    current.Last = i;
  }
  if (open) stretches.push_back(current);
  return stretches;
}

double LongestQuietInside(const TSamples& S, float Level) {
  std::size_t longest = 0;
  bool started = false;
  std::size_t last = 0;
  for (std::size_t i = 0; i < S.Data.size(); ++i) {
    if (!Sounds(S.Data[i], Level)) continue;
    if (started) longest = std::max(longest, i - last - 1);
    started = true;
    last = i;
  }
  return S.Ms(longest);
}

double Correlation(const TSamples& Recording, std::size_t At, const TSamples& File, float Level,
                   std::size_t Slack) {
  const auto first = std::find_if(File.Data.begin(), File.Data.end(), [Level](float x) { return Sounds(x, Level); });
  if (first == File.Data.end()) return 0;
  const auto lead = static_cast<std::size_t>(first - File.Data.begin());
  const std::size_t from = At > lead + Slack ? At - lead - Slack : 0;
  return BestPlacement(Recording, from, At - std::min(At, lead) + Slack + 1, File).Correlation;
}

TPlacement BestPlacement(const TSamples& Recording, std::size_t From, std::size_t To, const TSamples& File) {
  double file_energy = 0;
  for (const float y : File.Data) file_energy += static_cast<double>(y) * static_cast<double>(y);
  TPlacement best;
  for (std::size_t at = From; at < To; ++at) {
    const double r = CorrelationAt(Recording, at, File, file_energy);
    if (r > best.Correlation) best = {at, r};
  }
  return best;
}

}  // namespace navorix::test
