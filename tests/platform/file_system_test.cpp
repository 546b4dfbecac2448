#include "platform/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/text_file.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

TEST(FileSystem, ListsTxtFilesInAnyCaseSortedWithoutFolders) {
  TempDir dir;
  WriteBytes(dir.File("b.txt"), "x");
  WriteBytes(dir.File("A.TXT"), "x");
  WriteBytes(dir.File("c.Txt"), "x");
  WriteBytes(dir.File("d.dat"), "x");
  WriteBytes(dir.File(".txt"), "x");
  mkdir(dir.File("sub.txt").c_str(), 0777);
  const auto files = ListTxtFiles(dir.path() + "/");
  ASSERT_EQ(files.size(), 4u);
  EXPECT_EQ(files[0], dir.File(".txt"));
  EXPECT_EQ(files[1], dir.File("A.TXT"));
  EXPECT_EQ(files[2], dir.File("b.txt"));
  EXPECT_EQ(files[3], dir.File("c.Txt"));
  EXPECT_TRUE(ListTxtFiles(dir.File("missing")).empty());
}

TEST(FileSystem, NamesAndFolders) {
  EXPECT_EQ(PathWithoutExtension("/a.b/c"), "/a.b/c");
  EXPECT_EQ(LowerCaseExtension("/a.b/c"), "");
  EXPECT_EQ(LowerCaseExtension("x.TXT"), ".txt");
  EXPECT_EQ(PathWithoutExtension("dir/x.y.txt"), "dir/x.y");
  EXPECT_EQ(JoinPath("f/", "avgFFTData"), "f/avgFFTData");
  EXPECT_EQ(JoinPath("f", "avgFFTData"), "f/avgFFTData");
  TempDir dir;
  EXPECT_TRUE(MakeDirectory(dir.File("out")));
  EXPECT_TRUE(MakeDirectory(dir.File("out")));  // an existing folder is reused
  WriteBytes(dir.File("file"), "x");
  EXPECT_FALSE(MakeDirectory(dir.File("file")));
  EXPECT_FALSE(ExecutableDirectory().empty());
}

// Every caller that names a file in a message or puts a result beside its input relies on these
// exact answers, trailing "/" and root included.
struct PathPartsCase {
  const char* path;
  const char* file_name;
  const char* parent_folder;
  friend std::ostream& operator<<(std::ostream& out, const PathPartsCase& c) {
    return out << '"' << c.path << '"';
  }
};

class PathParts : public ::testing::TestWithParam<PathPartsCase> {};

TEST_P(PathParts, FileNameAndParentFolder) {
  const PathPartsCase& c = GetParam();
  EXPECT_EQ(FileName(c.path), c.file_name) << c.path;
  EXPECT_EQ(ParentFolder(c.path), c.parent_folder) << c.path;
}

INSTANTIATE_TEST_SUITE_P(
    FileSystem, PathParts,
    ::testing::Values(PathPartsCase{"hit.txt", "hit.txt", "."},
                      PathPartsCase{"run/hit.txt", "hit.txt", "run"},
                      PathPartsCase{"/data/run 1/hit.b.TXT", "hit.b.TXT", "/data/run 1"},
                      PathPartsCase{"/hit.txt", "hit.txt", "/"}, PathPartsCase{"/", "", "/"},
                      PathPartsCase{"run/", "", "run"}, PathPartsCase{"a//b", "b", "a/"},
                      PathPartsCase{"./x", "x", "."}, PathPartsCase{"", "", "."}));

// A result folder that cannot be made says why the mkdir failed, not what a later open says.
TEST(FileSystem, MakeDirectoryGivesTheReason) {
  TempDir dir;
  std::string why;
  EXPECT_TRUE(MakeDirectory(dir.File("out"), &why));
  EXPECT_TRUE(why.empty());
  WriteBytes(dir.File("file"), "x");
  EXPECT_FALSE(MakeDirectory(dir.File("file"), &why));
  EXPECT_EQ(why, "File exists");
  EXPECT_FALSE(MakeDirectory(dir.File("missing/out"), &why));
  EXPECT_EQ(why, "No such file or directory");
  EXPECT_EQ(FolderNotCreatedMessage("f/procData", why),
            "Folder f/procData cannot be created: No such file or directory!");
}

TEST(TextFile, WritesCrLfAndReplacesOnlyWhenComplete) {
  TempDir dir;
  const std::string path = dir.File("t.txt");
  ASSERT_TRUE(WriteTextFile(path, "a\tb\nc\n"));
  EXPECT_EQ(ReadBytes(path), "a\tb\r\nc\r\n");
  {
    TextFileWriter writer(path);
    writer.Write("half-written\n");
    // Destroyed without Commit: the earlier file stays and no temporary is left behind.
  }
  EXPECT_EQ(ReadBytes(path), "a\tb\r\nc\r\n");
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
    ++entries;
  EXPECT_EQ(entries, 1);
  EXPECT_FALSE(WriteTextFile(dir.File("missing/x.txt"), "x"));
}

}  // namespace
}  // namespace plexo
