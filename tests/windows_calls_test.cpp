// The Windows calls behind the settings folder, as the plug-in relies on
// them: run on the model and under Wine alike, so that the model answers as Windows does.
#include <string>

#include "model/harness/test_platform.h"
#include "tests/support/player_fixture.h"

namespace {

class WindowsCallsTest : public PlayerTest {};

TEST_F(WindowsCallsTest, FilesAndFoldersAnswerWithWindowsErrors) {
  const std::string base = testplatform::settingsFolder();
  const std::string file = base + "\\file.ini", folder = base + "\\Plugins";
  EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(GetFileAttributesA((base + "\\none\\file.ini").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_PATH_NOT_FOUND);
  EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "v", (folder + "\\file.ini").c_str()));
  EXPECT_FALSE(CreateDirectoryA((folder + "\\deeper").c_str(), nullptr));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_PATH_NOT_FOUND);

  EXPECT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  EXPECT_FALSE(CreateDirectoryA(folder.c_str(), nullptr));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_ALREADY_EXISTS);
  EXPECT_NE(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "v", folder.c_str())) << "a folder";
  EXPECT_FALSE(DeleteFileA(folder.c_str()));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);

  EXPECT_TRUE(WritePrivateProfileStringA("s", "k", "v", file.c_str()));
  DWORD attributes = GetFileAttributesA(file.c_str());
  EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_TRUE(DeleteFileA(file.c_str()));
  EXPECT_FALSE(DeleteFileA(file.c_str()));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_FILE_NOT_FOUND);
}

}  // namespace
