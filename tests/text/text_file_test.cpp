// Output files take the place of the old file only when complete; failures leave it and no trace.
#include "text/text_file.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <string>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "run_data/run_errors.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

std::set<std::string> FolderEntries(const std::string& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) names.insert(entry.path().filename().string());
  return names;
}

unsigned Permissions(const std::string& path) {
  struct stat status {};
  stat(path.c_str(), &status);
  return status.st_mode & 07777;
}

TEST(TextFile, TheOldFileStaysUntilTheNewOneIsComplete) {
  const std::string dir = testing::MakeScratchDir("textfile");
  const std::string target = dir + "/run_kqt.res";
  testing::WriteTextFile(target, "old\n");
  {
    TextFile file;
    file.Open(target);
    for (int i = 0; i < 20000; ++i) file.WriteLine("line " + std::to_string(i));  // more than one buffer
    EXPECT_EQ(testing::ReadTextFile(target), "old\n");
    EXPECT_EQ(FolderEntries(dir), std::set<std::string>{"run_kqt.res"});
    file.Close();
    file.Close();  // closing again does nothing
  }
  const std::string text = testing::ReadTextFile(target);
  EXPECT_EQ(text.substr(0, 14), "line 0\nline 1\n");
  EXPECT_EQ(text.substr(text.size() - 11), "line 19999\n");
  EXPECT_EQ(FolderEntries(dir), std::set<std::string>{"run_kqt.res"});

  // Abandoned, or dropped while open as a run that ends early drops it: the old file stays.
  {
    TextFile file;
    file.Open(target);
    file.WriteLine("never kept");
    file.Abandon();
    EXPECT_FALSE(file.IsOpen());
    TextFile dropped;
    dropped.Open(target);
    dropped.WriteLine("never kept either");
  }
  EXPECT_EQ(testing::ReadTextFile(target), text);
  EXPECT_EQ(FolderEntries(dir), std::set<std::string>{"run_kqt.res"});

  // Two writers of one name: the file is one of them whole, never a mixture.
  TextFile first;
  TextFile second;
  first.Open(target);
  second.Open(target);
  for (int i = 0; i < 3; ++i) {
    first.WriteLine("first");
    second.WriteLine("second");
  }
  second.Close();
  first.Close();
  EXPECT_EQ(testing::ReadTextFile(target), "first\nfirst\nfirst\n");
  EXPECT_EQ(FolderEntries(dir), std::set<std::string>{"run_kqt.res"});
}

TEST(TextFile, PermissionsLinksAndDevicesAreRespected) {
  const std::string dir = testing::MakeScratchDir("textfile");
  const std::string kept = dir + "/kept.res";
  testing::WriteTextFile(kept, "old\n");
  ASSERT_EQ(chmod(kept.c_str(), 0640), 0);
  TextFile file;
  file.Open(kept);
  file.WriteLine("new");
  file.Close();
  EXPECT_EQ(Permissions(kept), 0640u);

  const mode_t mask = umask(022);
  file.Open(dir + "/fresh.res");
  file.Close();
  umask(mask);
  EXPECT_EQ(Permissions(dir + "/fresh.res"), 0644u);

  // A link is followed: the file behind it is replaced and the link stays a link.
  ASSERT_EQ(testing::RunCommand("mkdir real && ln -s real/target.res link.res && ln -s /dev/null null.res", dir)
                .exitStatus,
            0);
  file.Open(dir + "/link.res");
  file.WriteLine("through the link");
  file.Close();
  EXPECT_TRUE(std::filesystem::is_symlink(dir + "/link.res"));
  EXPECT_EQ(testing::ReadTextFile(dir + "/real/target.res"), "through the link\n");
  EXPECT_EQ(FolderEntries(dir + "/real"), std::set<std::string>{"target.res"});

  // A device is written in place.
  file.Open(dir + "/null.res");
  file.WriteLine("gone");
  file.Close();
  EXPECT_TRUE(std::filesystem::is_symlink(dir + "/null.res"));

  // A folder in the target's place, or a missing folder, fails at once.
  EXPECT_THROW(file.Open(dir + "/real"), OutputFileError);
  EXPECT_THROW(file.Open(dir + "/missing/x.res"), OutputFileError);
  EXPECT_FALSE(file.IsOpen());
}

// In a forked child: writes many lines to `target` under a file-size limit of 8 KiB and exits
// with 1 when the write fails naming that file, 3 when it names another, 2 when it does not fail.
[[noreturn]] void WriteUnderFileSizeLimit(const std::string& target) {
  std::signal(SIGXFSZ, SIG_IGN);
  const struct rlimit limit = {8192, 8192};
  setrlimit(RLIMIT_FSIZE, &limit);
  int status = 2;
  try {
    TextFile file;
    file.Open(target);
    for (int i = 0; i < 10000; ++i) file.WriteLine("a line of the new file");
    file.Close();
  } catch (const OutputFileError& error) {
    status = error.fileName == target ? 1 : 3;
  }
  _exit(status);
}

// A write that fails part-way (here at a file-size limit, in a child process) leaves the old file.
TEST(TextFile, AWriteThatFailsPartWayLeavesTheOldFile) {
  const std::string dir = testing::MakeScratchDir("textfile");
  const std::string target = dir + "/run_kqt.log";
  const std::string old(30000, 'o');
  testing::WriteTextFile(target, old);
  const pid_t pid = fork();
  if (pid == 0) {
    WriteUnderFileSizeLimit(target);
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(testing::ReadTextFile(target), old);
  EXPECT_EQ(FolderEntries(dir), std::set<std::string>{"run_kqt.log"});
}

// A folder where no new file can be made, holding a writable file: the old file is never rewritten
// in place (a write cut short by a file-size limit would leave it truncated); the write fails at
// once and the file stays whole. The child runs as an unprivileged user, since the folder's
// permissions do not bind the superuser.
TEST(TextFile, ARegularFileIsNeverRewrittenInPlace) {
  const std::string parent = testing::MakeScratchDir("textfile");
  const std::string dir = parent + "/closed";
  ASSERT_EQ(mkdir(dir.c_str(), 0755), 0);
  const std::string target = dir + "/run_kqt.res";
  const std::string old(30000, 'o');
  testing::WriteTextFile(target, old);
  ASSERT_EQ(chmod(target.c_str(), 0666), 0);
  ASSERT_EQ(chmod(dir.c_str(), 0555), 0);
  ASSERT_EQ(chmod(parent.c_str(), 0755), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(77);
    WriteUnderFileSizeLimit(target);
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  chmod(dir.c_str(), 0755);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no unprivileged user to run the child as";
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_TRUE(testing::ReadTextFile(target) == old) << testing::ReadTextFile(target).size() << " bytes left";
  EXPECT_EQ(FolderEntries(dir), std::set<std::string>{"run_kqt.res"});
}

}  // namespace
}  // namespace orv
