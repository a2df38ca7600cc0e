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

std::uint16_t le16(const unsigned char* P) { return static_cast<std::uint16_t>(P[0] | (P[1] << 8)); }

std::uint32_t le32(const unsigned char* P) {
  return static_cast<std::uint32_t>(P[0]) | (static_cast<std::uint32_t>(P[1]) << 8) |
         (static_cast<std::uint32_t>(P[2]) << 16) | (static_cast<std::uint32_t>(P[3]) << 24);
}

bool isId(const unsigned char* P, const char* id) { return std::memcmp(P, id, 4) == 0; }

// Reads the "fmt " chunk body; false when the samples are not playable.
bool readFormat(const unsigned char* body, std::size_t size, WaveFormat& out) {
  if (size < PcmFormatSize) return false;
  std::uint16_t tag = le16(body);
  out.channels = le16(body + 2);
  out.sampleRate = le32(body + 4);
  out.bitsPerSample = le16(body + 14);
  if (tag == FormatExtensible) {
    if (size < ExtensibleFormatSize) return false;
    tag = le16(body + 24);  // first two bytes of the sub-format GUID
  }
  if (tag != FormatPcm && tag != FormatFloat) return false;
  out.real = tag == FormatFloat;
  if (out.channels < 1 || out.channels > 2 || out.sampleRate == 0) return false;
  if (out.real) return out.bitsPerSample == 32;
  return out.bitsPerSample == 8 || out.bitsPerSample == 16 || out.bitsPerSample == 32;
}

}  // namespace

std::optional<WaveFormat> parseWave(const unsigned char* data, std::size_t length) {
  if (data == nullptr || length < RiffHeaderSize) return std::nullopt;
  if (!isId(data, "RIFF") || !isId(data + 8, "WAVE")) return std::nullopt;
  WaveFormat format;
  bool haveFormat = false;
  std::size_t pos = RiffHeaderSize;
  for (int chunk = 0; chunk < MaxChunks && length - pos >= ChunkHeaderSize; ++chunk) {
    const unsigned char* header = data + pos;
    const std::size_t body = pos + ChunkHeaderSize;
    const std::size_t size = le32(header + 4);
    const std::size_t available = length - body;
    if (isId(header, "fmt ")) {
      if (size > available || !readFormat(data + body, size, format)) return std::nullopt;
      haveFormat = true;
    } else if (isId(header, "data")) {
      if (!haveFormat) return std::nullopt;
      const std::size_t frame = std::size_t{format.channels} * (format.bitsPerSample / 8U);
      const std::size_t bytes = size < available ? size : available;
      format.dataOffset = body;
      format.dataSize = bytes - bytes % frame;
      return format;
    }
    if (size > available) return std::nullopt;
    pos = body + size + (size & 1U);
    if (pos > length) return std::nullopt;
  }
  return std::nullopt;
}

std::int64_t waveDurationMs(const WaveFormat& format) {
  const std::int64_t frame = std::int64_t{format.channels} * (format.bitsPerSample / 8);
  if (frame == 0 || format.sampleRate == 0) return 0;
  const std::int64_t frames = static_cast<std::int64_t>(format.dataSize) / frame;
  return (frames * 1000 + format.sampleRate - 1) / format.sampleRate;
}

}  // namespace navorix
