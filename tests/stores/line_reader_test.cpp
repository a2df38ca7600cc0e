#include "stores/line_reader.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "geometry/error.h"
#include "stores_test_support.h"

namespace navorix {
namespace {

using testing::TTempDir;
using testing::WriteFile;

std::vector<std::string> AllLines(const std::string& Path, std::size_t Max = TLineReader::DefaultMaxLength) {
  TLineReader reader(Path, Max);
  std::vector<std::string> lines;
  std::string line;
  while (reader.ReadLine(line)) lines.push_back(line);
  return lines;
}

TEST(LineReader, EveryLineEndAndAMissingFinalBreak) {
  TTempDir dir;
  WriteFile(dir / "mixed", "crlf\r\nlf\ncr\rlast");
  EXPECT_EQ(AllLines(dir / "mixed"), (std::vector<std::string>{"crlf", "lf", "cr", "last"}));
  // CR LF is one line end, LF CR two, so the empty line between stays.
  WriteFile(dir / "pairs", "a\n\rb\r\n\r\nc\r\n");
  EXPECT_EQ(AllLines(dir / "pairs"), (std::vector<std::string>{"a", "", "b", "", "c"}));
}

TEST(LineReader, CrLfSplitAcrossTheBufferIsOneLineEnd) {
  TTempDir dir;
  // The CR is the last byte of the first 64 KiB block, its LF the first of
  // the next.
  const std::string first(64 * 1024 - 1, 'x');
  WriteFile(dir / "split", first + "\r\nnext\r\n");
  const auto lines = AllLines(dir / "split", 1u << 20);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], first);
  EXPECT_EQ(lines[1], "next");
}

TEST(LineReader, EndOfFileIsSeenRightAfterTheLastLineEnd) {
  TTempDir dir;
  WriteFile(dir / "two", "one\r\ntwo\r\n");
  TLineReader reader(dir / "two");
  std::string line;
  EXPECT_FALSE(reader.AtEnd());
  EXPECT_TRUE(reader.ReadLine(line));
  EXPECT_FALSE(reader.AtEnd());
  EXPECT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "two");
  EXPECT_TRUE(reader.AtEnd());
  line = "stale";
  EXPECT_FALSE(reader.ReadLine(line));
  EXPECT_EQ(line, "");
}

TEST(LineReader, LongLinesAreCutAndTheRestSkipped) {
  TTempDir dir;
  const std::string huge(10u << 20, 'z');  // a 10 MB line
  WriteFile(dir / "huge", "short\r\n" + huge + "\r\nafter");
  TLineReader reader(dir / "huge", 100);
  std::string line;
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_FALSE(reader.Truncated());
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, std::string(100, 'z'));
  EXPECT_TRUE(reader.Truncated());
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "after");
}

TEST(LineReader, BinaryBytesAndNulAreOrdinaryCharacters) {
  TTempDir dir;
  const std::string bytes("a\0b\xFF\x1A" "c", 6);
  WriteFile(dir / "bin", bytes + "\n");
  const auto lines = AllLines(dir / "bin");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], bytes);
}

TEST(LineReader, MissingFileAndDirectoryAreRefusedWithTheReason) {
  TTempDir dir;
  try {
    TLineReader reader(dir / "nothing.fix");
    FAIL() << "a missing file opened";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open nothing.fix: No such file or directory");
  }
  EXPECT_THROW(TLineReader reader(dir.Path()), Error);
  // A named pipe without a writer, or a device, would never end.
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
  EXPECT_THROW(TLineReader reader(dir / "pipe"), Error);
  EXPECT_THROW(TLineReader reader("/dev/zero"), Error);
}

}  // namespace
}  // namespace navorix
