// The one file writer: it writes through symbolic links, never replaces what
// is no regular file or may not be written, and leaves no temporary behind.
#include "base/fileio.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/tempdir.h"

namespace korvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::vector<std::string> Entries(const TempDir& dir) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir.path()))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(FileWriter, WritesThroughSymbolicLinks) {
  TempDir dir;
  ASSERT_EQ(mkdir(dir.file("real").c_str(), 0755), 0);
  WriteBytes(dir.file("real/prog.ngc"), "old");
  ASSERT_EQ(chmod(dir.file("real/prog.ngc").c_str(), 0640), 0);
  // A relative link to a relative link; and one whose target does not exist yet.
  ASSERT_EQ(symlink("real/prog.ngc", dir.file("mid").c_str()), 0);
  ASSERT_EQ(symlink("mid", dir.file("out.ngc").c_str()), 0);
  ASSERT_EQ(symlink("real/new.ngc", dir.file("dangling").c_str()), 0);

  ASSERT_TRUE(WriteFileAtomically(dir.file("out.ngc"), "new"));
  ASSERT_TRUE(WriteFileAtomically(dir.file("dangling"), "fresh"));
  struct stat st {};
  ASSERT_EQ(lstat(dir.file("out.ngc").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  ASSERT_EQ(lstat(dir.file("dangling").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(ReadBytes(dir.file("real/prog.ngc")), "new");
  EXPECT_EQ(ReadBytes(dir.file("real/new.ngc")), "fresh");
  ASSERT_EQ(stat(dir.file("real/prog.ngc").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(Entries(dir), (std::vector<std::string>{"dangling", "mid", "out.ngc", "real"}));
}

// Refused targets stay exactly what they were, and nothing is left beside them.
TEST(FileWriter, LeavesWhatItMayNotReplaceUnchanged) {
  TempDir dir;
  WriteBytes(dir.file("readonly"), "keep");
  ASSERT_EQ(chmod(dir.file("readonly").c_str(), 0444), 0);
  ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0644), 0);
  ASSERT_EQ(mkdir(dir.file("folder").c_str(), 0755), 0);
  // As root, a device node of our own (the null device's numbers); otherwise
  // a link to the real one shows the same check.
  const bool root = geteuid() == 0;
  if (root) ASSERT_EQ(mknod(dir.file("device").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
  else ASSERT_EQ(symlink("/dev/null", dir.file("device").c_str()), 0);
  const std::vector<std::string> before = Entries(dir);

  for (const char* name : {"readonly", "fifo", "folder", "device", "missing/file"}) {
    EXPECT_FALSE(WriteFileAtomically(dir.file(name), "text")) << name;
  }
  EXPECT_EQ(ReadBytes(dir.file("readonly")), "keep");
  struct stat st {};
  ASSERT_EQ(lstat(dir.file("fifo").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  ASSERT_EQ(stat(dir.file("device").c_str(), &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
  ASSERT_EQ(stat(dir.file("folder").c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(Entries(dir), before);
}

TEST(FileWriter, StagedFilesReplaceTheirTargetsOnlyOnCommit) {
  TempDir dir;
  WriteBytes(dir.file("a"), "old a");
  std::vector<StagedFile> staged(2);
  ASSERT_TRUE(StageFile(dir.file("a"), "new a", staged[0]));
  ASSERT_TRUE(StageFile(dir.file("b"), "new b", staged[1]));
  EXPECT_EQ(ReadBytes(dir.file("a")), "old a");
  DiscardStagedFiles(staged);
  EXPECT_EQ(Entries(dir), std::vector<std::string>{"a"});
  EXPECT_EQ(ReadBytes(dir.file("a")), "old a");

  ASSERT_TRUE(StageFile(dir.file("a"), "new a", staged[0]));
  ASSERT_TRUE(StageFile(dir.file("b"), "new b", staged[1]));
  ASSERT_TRUE(CommitStagedFiles(staged));
  EXPECT_EQ(ReadBytes(dir.file("a")), "new a");
  EXPECT_EQ(ReadBytes(dir.file("b")), "new b");
  EXPECT_EQ(Entries(dir), (std::vector<std::string>{"a", "b"}));
}

}  // namespace
}  // namespace korvane
