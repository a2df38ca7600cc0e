// The header of a RIFF/WAVE image: where the samples are and how they are
// laid out. Only uncompressed PCM (integer or float) is playable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace navorix {

struct WaveFormat {
  std::uint16_t channels = 0;
  std::uint32_t sampleRate = 0;     // frames per second
  std::uint16_t bitsPerSample = 0;  // 8, 16 or 32
  bool real = false;                // 32-bit IEEE samples instead of integers
  std::size_t dataOffset = 0;       // first sample byte in the image
  std::size_t dataSize = 0;         // whole frames only, within the image
};

// The format of the wave image data[0..Size), or nothing when it is not a
// RIFF/WAVE image of PCM samples that the player can hand on unchanged
// (unsigned 8-bit, signed 16- or 32-bit, 32-bit float; 1 or 2 channels).
// A data chunk that claims more bytes than the image holds is cut to the
// image; a truncated header gives nothing.
std::optional<WaveFormat> parseWave(const unsigned char* data, std::size_t length);

// Playing time of the samples in milliseconds, rounded up.
std::int64_t waveDurationMs(const WaveFormat& format);

}  // namespace navorix
