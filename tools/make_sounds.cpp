// Writes the program's four sounds as 16-bit PCM mono wave files:
//   nvx_err.wav  a low falling two-tone buzz
//   nvx_inp.wav  a short soft blip
//   nvx_que.wav  a rising two-note call
//   nvx_don.wav  a three-note chime
// Usage: make_sounds DIRECTORY
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int SampleRate = 22050;
constexpr double Pi = 3.14159265358979323846;

struct Note {
  double startS;
  double lengthS;
  double hz;
  double level;      // 0..1 of full scale
  double decayPerS;  // exponential decay rate
  bool square;       // a hollow square-ish tone instead of a sine
};

std::vector<double> Render(const std::vector<Note>& notes, double totalS) {
  const auto total = static_cast<std::size_t>(totalS * SampleRate);
  std::vector<double> mix(total, 0.0);
  for (const Note& n : notes) {
    const auto first = static_cast<std::size_t>(n.startS * SampleRate);
    const auto count = static_cast<std::size_t>(n.lengthS * SampleRate);
    for (std::size_t k = 0; k < count && first + k < total; ++k) {
      const double t = static_cast<double>(k) / SampleRate;
      // 5 ms fade in and out: no clicks at the edges.
      const double edge = std::min({1.0, t / 0.005, (n.lengthS - t) / 0.005});
      const double envelope = edge * std::exp(-n.decayPerS * t);
      double wave = std::sin(2.0 * Pi * n.hz * t);
      if (n.square) {
        // Odd harmonics 1, 3, 5: a soft square.
        wave += std::sin(2.0 * Pi * 3.0 * n.hz * t) / 3.0 + std::sin(2.0 * Pi * 5.0 * n.hz * t) / 5.0;
        wave *= 0.75;
      } else {
        // A quiet octave gives the chime its brightness.
        wave += 0.25 * std::sin(2.0 * Pi * 2.0 * n.hz * t);
        wave *= 0.8;
      }
      mix[first + k] += n.level * envelope * wave;
    }
  }
  return mix;
}

void Put16(std::ofstream& out, std::uint16_t V) {
  const char bytes[2] = {static_cast<char>(V & 0xFF), static_cast<char>(V >> 8)};
  out.write(bytes, 2);
}

void Put32(std::ofstream& out, std::uint32_t V) {
  for (int shift = 0; shift < 32; shift += 8) out.put(static_cast<char>((V >> shift) & 0xFF));
}

bool WriteWave(const std::string& file, const std::vector<double>& samples) {
  std::ofstream out(file, std::ios::binary);
  if (!out) return false;
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  out.write("RIFF", 4);
  Put32(out, 36 + dataBytes);
  out.write("WAVE", 4);
  out.write("fmt ", 4);
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, SampleRate);
  Put32(out, SampleRate * 2);  // bytes per second
  Put16(out, 2);               // bytes per frame
  Put16(out, 16);              // bits per sample
  out.write("data", 4);
  Put32(out, dataBytes);
  for (const double s : samples) {
    const double clipped = std::max(-1.0, std::min(1.0, s));
    Put16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(clipped * 32767.0))));
  }
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sounds DIRECTORY\n");
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/";
  struct Sound {
    const char* file;
    std::vector<Note> notes;
    double totalS;
  };
  const std::vector<Sound> sounds = {
      {"nvx_err.wav", {{0.00, 0.16, 220.0, 0.55, 3.0, true}, {0.16, 0.22, 165.0, 0.55, 4.0, true}}, 0.40},
      {"nvx_inp.wav", {{0.00, 0.07, 1320.0, 0.35, 25.0, false}}, 0.08},
      {"nvx_que.wav", {{0.00, 0.12, 587.33, 0.45, 6.0, false}, {0.12, 0.20, 880.0, 0.45, 6.0, false}}, 0.33},
      {"nvx_don.wav",
       {{0.00, 0.30, 1046.5, 0.40, 7.0, false},
        {0.09, 0.30, 1318.5, 0.35, 7.0, false},
        {0.18, 0.36, 1568.0, 0.35, 6.0, false}},
       0.55},
  };
  for (const Sound& s : sounds) {
    if (!WriteWave(dir + s.file, Render(s.notes, s.totalS))) {
      std::fprintf(stderr, "make_sounds: cannot write %s%s\n", dir.c_str(), s.file);
      return 1;
    }
  }
  return 0;
}
