// The test program's start. Given a folder, each case also leaves its outcome there, in a
// file named after it: "passed", "skipped" or "failed", then what it reported. CTest then
// shows each case of a single run as a test of its own.
//
//   <program> [GoogleTest options] [folder]
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "kit/files.h"

namespace {

std::string outcomes;  // the folder

class CaseOutcomes : public ::testing::EmptyTestEventListener {
  void OnTestEnd(const ::testing::TestInfo& test) override {
    std::string name = std::string(test.test_suite_name()) + "." + test.name();
    for (char& c : name) c = c == '/' ? '.' : c;
    const ::testing::TestResult& result = *test.result();
    std::string text = result.Failed() ? "failed\n" : result.Skipped() ? "skipped\n" : "passed\n";
    for (int i = 0; i < result.total_part_count(); ++i) {
      const ::testing::TestPartResult& part = result.GetTestPartResult(i);
      text += std::string(part.file_name() ? part.file_name() : "") + ":" +
              std::to_string(part.line_number()) + ": " + part.message() + "\n";
    }
    kit::writeFile(outcomes + "/" + name, text);
  }
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc > 1) {
    outcomes = argv[1];
    kit::removeFolder(outcomes);  // no outcome of an earlier run may stand for this one
    std::filesystem::create_directories(outcomes);
    ::testing::UnitTest::GetInstance()->listeners().Append(new CaseOutcomes);
  }
  return RUN_ALL_TESTS();
}
