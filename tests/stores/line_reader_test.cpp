#include "stores/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <string>
#include <vector>

#include "geometry/error.h"
#include "stores_test_support.h"

namespace navorix {
namespace {

using testing::TempDir;
using testing::WriteFile;

std::vector<std::string> AllLines(const std::string& path, std::size_t max = LineReader::DefaultMaxLength) {
  LineReader reader(path, max);
  std::vector<std::string> lines;
  std::string line;
  while (reader.ReadLine(line)) lines.push_back(line);
  return lines;
}

TEST(LineReader, EveryLineEndAndAMissingFinalBreak) {
  TempDir dir;
  WriteFile(dir / "mixed", "crlf\r\nlf\ncr\rlast");
  EXPECT_EQ(AllLines(dir / "mixed"), (std::vector<std::string>{"crlf", "lf", "cr", "last"}));
  // CR LF is one line end, LF CR two, so the empty line between stays.
  WriteFile(dir / "pairs", "a\n\rb\r\n\r\nc\r\n");
  EXPECT_EQ(AllLines(dir / "pairs"), (std::vector<std::string>{"a", "", "b", "", "c"}));
}

TEST(LineReader, CrLfSplitAcrossTheBufferIsOneLineEnd) {
  TempDir dir;
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
  TempDir dir;
  WriteFile(dir / "two", "one\r\ntwo\r\n");
  LineReader reader(dir / "two");
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
  TempDir dir;
  const std::string huge(10u << 20, 'z');  // a 10 MB line
  WriteFile(dir / "huge", "short\r\n" + huge + "\r\nafter");
  LineReader reader(dir / "huge", 100);
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
  TempDir dir;
  const std::string bytes(
      "a\0b\xFF\x1A"
      "c",
      6);
  WriteFile(dir / "bin", bytes + "\n");
  const auto lines = AllLines(dir / "bin");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], bytes);
}

TEST(LineReader, AByteOrderMarkStartsNoLine) {
  TempDir dir;
  WriteFile(dir / "bom",
            "\xEF\xBB\xBF"
            "first\r\n\xEF\xBB\xBF"
            "second\r\n");
  // Only the mark at the start of the file is skipped; later it is text.
  EXPECT_EQ(AllLines(dir / "bom"), (std::vector<std::string>{"first",
                                                             "\xEF\xBB\xBF"
                                                             "second"}));
  WriteFile(dir / "only", "\xEF\xBB\xBF");
  EXPECT_EQ(AllLines(dir / "only"), std::vector<std::string>{});
  EXPECT_TRUE(LineReader(dir / "only").AtEnd());
  WriteFile(dir / "part",
            "\xEF\xBB"
            "x");
  EXPECT_EQ(AllLines(dir / "part"), std::vector<std::string>{"\xEF\xBB"
                                                             "x"});
}

TEST(LineReader, ANamedPipeIsAnsweredWithinASecond) {
  TempDir dir;
  const std::string pipe = dir / "pipe";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  // Refused at once, whether a writer holds the pipe open or none does.
  const auto refused = [&pipe] {
    try {
      LineReader reader(pipe);
    } catch (const Error& e) {
      if (std::string(e.what()) == "Cannot open pipe: not a regular file") return;
    }
    throw 1;
  };
  EXPECT_TRUE(testing::EndsWithin(std::chrono::seconds(1), refused));
  EXPECT_TRUE(testing::EndsWithin(std::chrono::seconds(1), [&pipe] {
    if (CannotReadReason(pipe) != "not a regular file") throw 1;
  }));
  const int writer = ::open(pipe.c_str(), O_RDWR | O_CLOEXEC);  // never waits on Linux
  ASSERT_GE(writer, 0);
  EXPECT_TRUE(testing::EndsWithin(std::chrono::seconds(1), refused));
  ::close(writer);
  WriteFile(dir / "plain", "x");
  EXPECT_EQ(CannotReadReason(dir / "plain"), "");
  EXPECT_EQ(CannotReadReason(dir / "none"), "No such file or directory");
}

TEST(LineReader, AReadFailureIsRaisedWithTheFileName) {
  TempDir dir;
  WriteFile(dir / "bad.fix", std::string(200 * 1024, 'x') + "\n");
  testing::FailingReads disk(1);
  LineReader reader(dir / "bad.fix", 1u << 20, disk.calls);
  std::string line;
  try {
    reader.ReadLine(line);
    ADD_FAILURE() << "the failure was not raised";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot read bad.fix: Input/output error");
  }
}

TEST(LineReader, AFileAboveItsLargestSizeIsRefusedAtOnceOrWhereItGrowsBeyond) {
  TempDir dir;
  WriteFile(dir / "exact.fix", std::string(99, 'x') + "\n");
  EXPECT_EQ(AllLines(dir / "exact.fix").size(), 1u);
  LineReader exact(dir / "exact.fix", 4096, SystemCalls(), 100);  // the limit itself is taken
  WriteFile(dir / "big.fix", std::string(100, 'x') + "\n");
  try {
    LineReader reader(dir / "big.fix", 4096, SystemCalls(), 100);
    FAIL() << "a file above the limit opened";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open big.fix: larger than 100 bytes");
  }
  // A file that grows while it is read stops where it passes the limit.
  WriteFile(dir / "growing.fix", "a\n");
  LineReader growing(dir / "growing.fix", 4096, SystemCalls(), 100);
  {
    std::ofstream more(dir / "growing.fix", std::ios::binary | std::ios::app);
    more << std::string(200, 'b') << "\n";
  }
  std::string line;
  try {
    while (growing.ReadLine(line)) {}
    FAIL() << "the growth went unnoticed";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot read growing.fix: larger than 100 bytes");
  }
  EXPECT_EQ(TooLargeReason(MaxDataFileSize), "larger than 64 MiB");
}

TEST(LineReader, MissingFileAndDirectoryAreRefusedWithTheReason) {
  TempDir dir;
  try {
    LineReader reader(dir / "nothing.fix");
    FAIL() << "a missing file opened";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open nothing.fix: No such file or directory");
  }
  EXPECT_THROW(LineReader reader(dir.Path()), Error);
  // A named pipe without a writer, or a device, would never end.
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
  EXPECT_THROW(LineReader reader(dir / "pipe"), Error);
  EXPECT_THROW(LineReader reader("/dev/zero"), Error);
}

}  // namespace
}  // namespace navorix
