// RIFF layout: "RIFF" size "WAVE", then chunks of a 4-byte id, a 32-bit
// little-endian size and the body, padded to an even length. The "fmt "
// chunk must come before "data".
#include "window/sound/wave.h"

#include <cstring>

namespace navorix {

namespace {

constexpr std::size_t RiffHeaderSize = 12;
constexpr std::size_t ChunkHeaderSize = 8;
constexpr std::size_t PcmFormatSize = 16;
constexpr std::size_t ExtensibleFormatSize = 40;
constexpr std::uint16_t FormatPcm = 1;
constexpr std::uint16_t FormatFloat = 3;
constexpr std::uint16_t FormatExtensible = 0xFFFE;
// Far more chunks than any real file carries; a corrupt file cannot loop.
constexpr int MaxChunks = 64;

std::uint16_t Le16(const unsigned char* P) {
  return static_cast<std::uint16_t>(P[0] | (P[1] << 8));
}

std::uint32_t Le32(const unsigned char* P) {
  return static_cast<std::uint32_t>(P[0]) | (static_cast<std::uint32_t>(P[1]) << 8) |
         (static_cast<std::uint32_t>(P[2]) << 16) | (static_cast<std::uint32_t>(P[3]) << 24);
}

bool IsId(const unsigned char* P, const char* Id) { return std::memcmp(P, Id, 4) == 0; }

// Reads the "fmt " chunk body; false when the samples are not playable.
bool ReadFormat(const unsigned char* Body, std::size_t Size, TWaveFormat& Out) {
  if (Size < PcmFormatSize) return false;
  std::uint16_t tag = Le16(Body);
  Out.Channels = Le16(Body + 2);
  Out.SampleRate = Le32(Body + 4);
  Out.BitsPerSample = Le16(Body + 14);
  if (tag == FormatExtensible) {
    if (Size < ExtensibleFormatSize) return false;
    tag = Le16(Body + 24);  // first two bytes of the sub-format GUID
  }
  if (tag != FormatPcm && tag != FormatFloat) return false;
  Out.Float = tag == FormatFloat;
  if (Out.Channels < 1 || Out.Channels > 2 || Out.SampleRate == 0) return false;
  if (Out.Float) return Out.BitsPerSample == 32;
  return Out.BitsPerSample == 8 || Out.BitsPerSample == 16 || Out.BitsPerSample == 32;
}

}  // namespace

std::optional<TWaveFormat> ParseWave(const unsigned char* Data, std::size_t Size) {
  if (Data == nullptr || Size < RiffHeaderSize) return std::nullopt;
  if (!IsId(Data, "RIFF") || !IsId(Data + 8, "WAVE")) return std::nullopt;
  TWaveFormat format;
  bool have_format = false;
  std::size_t pos = RiffHeaderSize;
  for (int chunk = 0; chunk < MaxChunks && Size - pos >= ChunkHeaderSize; ++chunk) {
    const unsigned char* header = Data + pos;
    const std::size_t body = pos + ChunkHeaderSize;
    const std::size_t size = Le32(header + 4);
    const std::size_t available = Size - body;
    if (IsId(header, "fmt ")) {
      if (size > available || !ReadFormat(Data + body, size, format)) return std::nullopt;
      have_format = true;
    } else if (IsId(header, "data")) {
      if (!have_format) return std::nullopt;
      const std::size_t frame = std::size_t{format.Channels} * (format.BitsPerSample / 8U);
      const std::size_t bytes = size < available ? size : available;
      format.DataOffset = body;
      format.DataSize = bytes - bytes % frame;
      return format;
    }
    if (size > available) return std::nullopt;
    pos = body + size + (size & 1U);
    if (pos > Size) return std::nullopt;
  }
  return std::nullopt;
}

std::int64_t WaveDurationMs(const TWaveFormat& Format) {
  const std::int64_t frame = std::int64_t{Format.Channels} * (Format.BitsPerSample / 8);
  if (frame == 0 || Format.SampleRate == 0) return 0;
  const std::int64_t frames = static_cast<std::int64_t>(Format.DataSize) / frame;
  return (frames * 1000 + Format.SampleRate - 1) / Format.SampleRate;
}

}  // namespace navorix
