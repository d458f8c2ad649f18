#include "platform/save_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/memory_file_system.h"
#include "platform/posix_file_system.h"

namespace tavro {
namespace {

using Failure = MemoryFileSystem::Failure;

TEST(SaveFile, ReplacesARegularFileWholeAndLeavesNoTemporary) {
    MemoryFileSystem files;
    files.Add("out.txt", "old");
    EXPECT_EQ(SaveFile(files, "out.txt", "new report\n"), "");
    EXPECT_EQ(files.Contents("out.txt"), "new report\n");
    EXPECT_EQ(files.FilePaths(), std::vector<std::string>{"out.txt"});
    EXPECT_EQ(SaveFile(files, "fresh.txt", ""), "");
    EXPECT_EQ(files.Contents("fresh.txt"), "");
}

// Whatever step fails, the old file is intact, no temporary is left behind, and
// the message names the file and the problem.
TEST(SaveFile, EveryFailureKeepsTheOldFile) {
    struct Case {
        Failure failure;
        const char* problem;
    };
    for (const Case& c : {Case{Failure::kOpen, "out.txt: Permission denied"},
                          Case{Failure::kShortWrite, "out.txt: No space left on device"},
                          Case{Failure::kSync, "out.txt: Input/output error"},
                          Case{Failure::kRename, "out.txt: Permission denied"}}) {
        MemoryFileSystem files;
        files.Add("out.txt", "old");
        files.FailOn(c.failure, "out.txt");
        EXPECT_EQ(SaveFile(files, "out.txt", "new"), c.problem);
        EXPECT_EQ(files.Contents("out.txt"), "old");
        EXPECT_EQ(files.FilePaths(), std::vector<std::string>{"out.txt"});
    }
}

TEST(SaveFile, AFolderThatCannotBeSyncedIsReportedAfterTheRename) {
    MemoryFileSystem files;
    files.FailOn(Failure::kSyncFolder, "out.txt");
    EXPECT_EQ(SaveFile(files, "out.txt", "new"),
              "out.txt: the folder could not be synced: Input/output error");
    EXPECT_EQ(files.Contents("out.txt"), "new");
}

TEST(SaveFile, FollowsLinksWritesDevicesAndRefusesFolders) {
    MemoryFileSystem files;
    files.Add("real.txt", "old");
    files.AddLink("link.txt", "real.txt");
    EXPECT_EQ(SaveFile(files, "link.txt", "via link"), "");
    EXPECT_EQ(files.Contents("real.txt"), "via link");
    EXPECT_EQ(files.FilePaths(), std::vector<std::string>{"real.txt"});  // the link stays a link

    files.AddDevice("/dev/null");
    EXPECT_EQ(SaveFile(files, "/dev/null", "gone"), "");
    EXPECT_EQ(files.Contents("/dev/null"), "gone");  // written in place, not replaced

    files.AddFolder("dir");
    EXPECT_EQ(SaveFile(files, "dir", "x"), "dir: Is a directory");
}

// The same rules on the real file system.
class PosixSaveFile : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/tavro-save-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    std::string dir;
    PosixFileSystem files;
};

TEST_F(PosixSaveFile, ReplacesKeepsPermissionsAndFollowsLinks) {
    const std::string target = dir + "/out.txt";
    std::ofstream(target) << "old";
    ::chmod(target.c_str(), 0640);
    EXPECT_EQ(SaveFile(files, target, "new"), "");
    EXPECT_EQ(Read(target), "new");
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    const std::string link = dir + "/link.txt";
    ASSERT_EQ(::symlink("out.txt", link.c_str()), 0);  // relative to the link's folder
    EXPECT_EQ(SaveFile(files, link, "through the link"), "");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(Read(target), "through the link");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                            std::filesystem::directory_iterator()),
              2);  // no temporary left
}

TEST_F(PosixSaveFile, DevicesAreWrittenAndFoldersRefused) {
    EXPECT_EQ(SaveFile(files, "/dev/null", "nothing"), "");
    struct stat info {};
    ASSERT_EQ(::stat("/dev/null", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));  // still the device
    EXPECT_EQ(SaveFile(files, dir, "x"), dir + ": Is a directory");
    const std::string missingFolder = dir + "/no/such/out.txt";
    EXPECT_EQ(SaveFile(files, missingFolder, "x"), missingFolder + ": No such file or directory");
}

}  // namespace
}  // namespace tavro
