// The private profile calls on real files, as the plug-in makes them: run on the model and under
// Wine alike, so that the model answers as Wine's kernel32 does.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kit/files.h"
#include "kit/player_place.h"

namespace {

struct Read {
  DWORD count;
  std::string text;  // the bytes before the terminator, inner NULs of lists included
};

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A folder per case: CTest runs the cases in parallel processes.
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    scratch = kit::scratchFolder(std::string("tunelore-profile-test.") + test->test_suite_name() +
                                 "." + test->name());
    ASSERT_TRUE(kit::setUpPlayer(scratch));
    folder = kit::settingsFolder();
  }
  void TearDown() override {
    kit::tearDownPlayer();
    kit::removeFolder(scratch);
  }

  // The Windows path of the file or folder <name> in the test's folder, and that path on disk.
  std::string at(const std::string& name) { return folder + "\\" + name; }
  std::string onDisk(const std::string& name) { return kit::onDisk(at(name)); }
  // Writes `bytes` as the file <name> and returns its Windows path.
  std::string put(const std::string& name, const std::string& bytes) {
    kit::writeFile(onDisk(name), bytes);
    return at(name);
  }
  std::string bytes(const std::string& name) {
    return std::filesystem::exists(onDisk(name)) ? kit::readFile(onDisk(name)) : "<missing>";
  }
  // GetPrivateProfileStringA into a buffer with guard bytes behind `capacity`.
  Read get(const char* section, const char* key, const char* fallback, DWORD capacity,
           const std::string& file) {
    std::vector<char> buffer(capacity + 16, '\x7f');
    DWORD count =
        GetPrivateProfileStringA(section, key, fallback, buffer.data(), capacity, file.c_str());
    for (size_t i = capacity; i < buffer.size(); ++i) {
      EXPECT_EQ(buffer[i], '\x7f') << "written past the capacity at " << i;
    }
    if (capacity == 0) return {count, "<untouched>"};
    EXPECT_LT(count, capacity);
    EXPECT_EQ(buffer[count], '\0') << "no terminator after the count";
    return {count, std::string(buffer.data(), std::min<size_t>(count, capacity))};
  }
  std::string value(const char* section, const char* key, const std::string& file,
                    const char* fallback = "<default>") {
    return get(section, key, fallback, 512, file).text;
  }
  BOOL write(const char* section, const char* key, const char* text, const std::string& file) {
    return WritePrivateProfileStringA(section, key, text, file.c_str());
  }
  // Writes one value into the file <name> and returns the file's bytes.
  std::string afterWrite(const std::string& name, const char* section, const char* key,
                         const char* text) {
    EXPECT_TRUE(write(section, key, text, at(name)));
    return bytes(name);
  }

  std::string scratch, folder;
};

using ProfileReadTest = ProfileTest;

TEST_F(ProfileReadTest, NamesMatchWithoutAsciiCaseAndWithoutSurroundingBlanks) {
  std::string file = put("a.ini",
                         "[Sec]\r\nKey=Value\r\n  key2 =  value two  \r\n[ Spaced ]\r\n"
                         "k=1\r\n[\xC9t\xE9]\r\nK\xC9=2\r\n");
  EXPECT_EQ(value("sec", "KEY", file), "Value");
  EXPECT_EQ(value(" Sec ", " key2\t", file), "value two");
  EXPECT_EQ(value("spaced", "k", file), "1");
  EXPECT_EQ(value("\xC9t\xE9", "K\xC9", file), "2");
  EXPECT_EQ(value("\xE9t\xE9", "k\xE9", file), "<default>") << "only ASCII letters fold";
}

TEST_F(ProfileReadTest, FirstKeyOfTheFirstSectionOfANameWins) {
  std::string file = put("dup.ini", "[a]\r\nk=first\r\nK=second\r\n[A]\r\nk=third\r\nlater=x\r\n");
  EXPECT_EQ(value("a", "k", file), "first");
  EXPECT_EQ(value("a", "later", file), "<default>") << "a repeated section is not searched";
}

TEST_F(ProfileReadTest, LineKinds) {
  std::string file =
      put("kinds.ini",
          "k0=before\r\n[s]\r\njunk\r\n;k=comment\r\ne=a=b\r\nempty=\r\n=nameless\r\n"
          "[NoClose\r\n[Trail]junk\r\nt=1\r\n[Two]]\r\nt=2\r\n");
  EXPECT_EQ(value("", "k0", file), "before") << "lines before the first header: section \"\"";
  EXPECT_EQ(value("s", "junk", file), "<default>") << "a line without '=' has no value";
  EXPECT_EQ(value("s", ";k", file), "comment") << "comments are ordinary lines to a lookup";
  EXPECT_EQ(value("s", "e", file), "a=b");
  EXPECT_EQ(get("s", "empty", "<default>", 64, file).count, 0u);
  EXPECT_EQ(value("s", "", file), "nameless");
  EXPECT_EQ(value("s", "[NoClose", file), "<default>") << "no ']': a plain line, no section";
  EXPECT_EQ(value("Trail", "t", file), "1");
  EXPECT_EQ(value("Two]", "t", file), "2") << "the name runs to the last ']'";
}

TEST_F(ProfileReadTest, MatchingQuotesAreRemoved) {
  const std::pair<const char*, const char*> cases[] = {
      {"\"dq\"", "dq"},      {"'sq'", "sq"},         {"\"mixed'", "\"mixed'"}, {"\"", "\""},
      {"\"\"", ""},          {"a\"b\"c", "a\"b\"c"}, {" \" pad \" ", " pad "}, {"\"x", "\"x"},
      {"\"\"x\"\"", "\"x\""}};
  std::string text = "[q]\r\n";
  for (size_t i = 0; i < std::size(cases); ++i) {
    text += "k" + std::to_string(i) + "=" + cases[i].first + "\r\n";
  }
  std::string file = put("q.ini", text);
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(value("q", ("k" + std::to_string(i)).c_str(), file), cases[i].second)
        << "value " << cases[i].first;
  }
  // Cut short, the value loses its last character instead of the closing quote.
  EXPECT_EQ(get("q", "k0", "", 3, file).text, "d");
  EXPECT_EQ(get("q", "k0", "", 4, file).text, "dq");
}

using ProfileDefaultTest = ProfileTest;

TEST_F(ProfileDefaultTest, MissingFileSectionOrKeyGiveTheDefault) {
  std::string file = put("d.ini", "[s]\r\nk=v\r\n");
  for (const auto& where : {std::make_pair("s", "nokey"), std::make_pair("nosection", "k")}) {
    Read read = get(where.first, where.second, "fallback", 64, file);
    EXPECT_EQ(read.text, "fallback");
    EXPECT_EQ(read.count, 8u);
  }
  EXPECT_EQ(value("s", "k", at("nofile.ini")), "<default>");
  EXPECT_EQ(get("s", "nokey", nullptr, 64, file).text, "") << "a NULL default means \"\"";
}

TEST_F(ProfileDefaultTest, UnopenableFileGivesTheDefault) {
  std::filesystem::create_directory(onDisk("folder.ini"));
  EXPECT_EQ(value("s", "k", at("nofolder\\x.ini"), "FALSE"), "FALSE");
  EXPECT_EQ(value("s", "k", at("folder.ini"), "FALSE"), "FALSE");
  EXPECT_EQ(value("s", "k", at("missing.ini"), "FALSE"), "FALSE")
      << "a missing file reads as empty";
}

using ProfileCapacityTest = ProfileTest;

TEST_F(ProfileCapacityTest, ResultIsCutToCapacityLessOneAndTerminated) {
  std::string file = put("c.ini", "[s]\r\nk=abcdef\r\n");
  const std::string full = "abcdef";
  for (DWORD capacity = 1; capacity <= 9; ++capacity) {
    Read read = get("s", "k", "", capacity, file);
    EXPECT_EQ(read.text, full.substr(0, capacity - 1)) << "capacity " << capacity;
    EXPECT_EQ(read.count, std::min<DWORD>(capacity - 1, 6));
  }
  EXPECT_EQ(get("s", "nokey", "defg", 4, file).text, "def");
}

TEST_F(ProfileCapacityTest, ZeroCapacityOrNoBufferWritesNothing) {
  std::string file = put("c.ini", "[s]\r\nk=abcdef\r\n");
  EXPECT_EQ(get("s", "k", "", 0, file).count, 0u);  // guard bytes checked by get()
  EXPECT_EQ(GetPrivateProfileStringA("s", "k", "", nullptr, 10, file.c_str()), 0u);
}

using ProfileFileFormTest = ProfileTest;

TEST_F(ProfileFileFormTest, AnyLineEndingAndAnyEnd) {
  EXPECT_EQ(value("s", "j", put("lf.ini", "[s]\nk=lf\nj=2")), "2");
  EXPECT_EQ(value("s", "j", put("cr.ini", "[s]\rk=cr\rj=3\r")), "3");
  EXPECT_EQ(value("s", "k", put("nofinal.ini", "[s]\r\nk=v")), "v");
  EXPECT_EQ(value("s", "k", put("empty.ini", "")), "<default>");
}

TEST_F(ProfileFileFormTest, BlanksAndNuls) {
  using namespace std::string_literals;
  std::string file = put("w.ini",
                         "[s]\r\nz=\x1avalue\x1a\r\nvt=\x0bv\x0c\r\nnb=\xa0v\xa0\r\n"
                         "n=a\0b\r\nafter=1\r\n"s);
  EXPECT_EQ(value("s", "z", file), "value") << "Control-Z is a blank";
  EXPECT_EQ(value("s", "vt", file), "v");
  EXPECT_EQ(value("s", "nb", file), "\xa0v\xa0") << "a no-break space is not";
  EXPECT_EQ(value("s", "n", file), "a") << "a NUL ends the value";
  EXPECT_EQ(value("s", "after", file), "1");
  ASSERT_TRUE(write("s", "after", "2", file));
  EXPECT_EQ(bytes("w.ini"), "[s]\r\nz=value\r\nvt=v\r\nnb=\xa0v\xa0\r\nn=a\r\nafter=2\r\n");
  std::string hidden = put("h.ini", "\0[s]\r\nk=v\r\n"s);
  EXPECT_EQ(value("s", "k", hidden), "<default>") << "a NUL before '[' spoils the header";
}

TEST_F(ProfileFileFormTest, LongLinesHaveNoLimit) {
  std::string longValue(100000, 'x');
  std::string file = put("long.ini", "[s]\r\nk=" + longValue + "\r\nj=after\r\n");
  EXPECT_EQ(get("s", "k", "", 100001, file).text, longValue);
  EXPECT_EQ(get("s", "k", "", 10, file).text, std::string(9, 'x'));
  // Arguments stay below 32K characters: Wine's ANSI-to-UTF-16 step cannot take more.
  std::string longName(20000, 'n'), writtenValue(30000, 'v');
  ASSERT_TRUE(write("s", longName.c_str(), writtenValue.c_str(), file));
  EXPECT_EQ(bytes("long.ini"),
            "[s]\r\nk=" + longValue + "\r\nj=after\r\n" + longName + "=" + writtenValue + "\r\n");
}

using ProfileWriteTest = ProfileTest;

TEST_F(ProfileWriteTest, NewFileHoldsOneCrLfLinePerKey) {
  std::string file = at("gen_tunelore.ini");
  ASSERT_TRUE(write("gen_tunelore.dll", "bDisabledPlugin", "FALSE", file));
  ASSERT_TRUE(write("gen_tunelore.dll", "bDisabledStartUp", "TRUE", file));
  ASSERT_TRUE(write("gen_other.dll", "bDisabledPlugin", "TRUE", file));
  EXPECT_EQ(bytes("gen_tunelore.ini"),
            "[gen_tunelore.dll]\r\nbDisabledPlugin=FALSE\r\nbDisabledStartUp=TRUE\r\n"
            "[gen_other.dll]\r\nbDisabledPlugin=TRUE\r\n");
  EXPECT_EQ(get("GEN_TUNELORE.DLL", "bdisabledstartup", "FALSE", 25, file).text, "TRUE");
}

TEST_F(ProfileWriteTest, KeysAreReplacedInPlaceOrAddedAtTheEndOfTheirSection) {
  std::string file = put("p.ini",
                         ";top\r\n[Sec]\r\nK1=1\r\n;c\r\njunk\r\nk1=dup\r\n[A]\r\nx=1\r\n"
                         "[a]\r\nonly=later\r\n");
  ASSERT_TRUE(write("SEC", "k1", "2", file));
  ASSERT_TRUE(write("sec", "new", "n", file));
  ASSERT_TRUE(write("a", "only", "y", file));
  ASSERT_TRUE(write("sec", "junk", "3", file));
  ASSERT_TRUE(write("added", "k", "v", file));
  EXPECT_EQ(bytes("p.ini"),
            ";top\r\n[Sec]\r\nK1=2\r\n;c\r\njunk=3\r\nk1=dup\r\nnew=n\r\n[A]\r\nx=1\r\nonly=y\r\n"
            "[a]\r\nonly=later\r\n[added]\r\nk=v\r\n");
}

TEST_F(ProfileWriteTest, AChangeRewritesTheWholeFileInCanonicalForm) {
  put("n.ini", "; a = b \n\n  [ a ]  \n  x  =  1  \n\n\t\n[b]\ny=2");
  EXPECT_EQ(afterWrite("n.ini", "b", "y", "3"), "; a=b\r\n[a]\r\nx=1\r\n[b]\r\ny=3\r\n");
}

TEST_F(ProfileWriteTest, TheValueAlreadyThereLeavesTheFileAlone) {
  std::string file = put("same.ini", "[a]\n x = 1 \n");
  EXPECT_TRUE(write("a", "x", "1", file));
  EXPECT_TRUE(write("a", "x", " \t1", file)) << "leading blanks of a value are dropped";
  EXPECT_EQ(bytes("same.ini"), "[a]\n x = 1 \n");
  EXPECT_TRUE(write("a", "x", "1 ", file)) << "trailing ones are not";
  EXPECT_EQ(bytes("same.ini"), "[a]\r\nx=1 \r\n");
}

TEST_F(ProfileWriteTest, NewNamesLoseLeadingBlanksOnly) {
  EXPECT_EQ(afterWrite("ws.ini", "  ws ", "  key  ", "  val  "), "[ws ]\r\nkey  =val  \r\n");
  EXPECT_EQ(value("ws", "key", at("ws.ini")), "val");
}

TEST_F(ProfileWriteTest, TextIsWrittenAsGivenWithoutEscaping) {
  EXPECT_EQ(afterWrite("raw.ini", "s", "a=b", "line\r\n[evil]\r\nz=1"),
            "[s]\r\na=b=line\r\n[evil]\r\nz=1\r\n");
  EXPECT_EQ(value("evil", "z", at("raw.ini")), "1");
}

TEST_F(ProfileWriteTest, MissingFolderOrAFolderInPlaceFails) {
  std::filesystem::create_directory(onDisk("folder.ini"));
  EXPECT_FALSE(write("s", "k", "v", at("nofolder\\x.ini")));
  EXPECT_FALSE(std::filesystem::exists(onDisk("nofolder")));
  EXPECT_FALSE(write("s", "k", "v", at("folder.ini")));
  EXPECT_FALSE(write(nullptr, "k", "v", at("x.ini")));
  EXPECT_FALSE(write(nullptr, nullptr, nullptr, at("x.ini")));
  EXPECT_EQ(bytes("x.ini"), "<missing>");
}

TEST_F(ProfileWriteTest, EmptyOrUnterminatedFilesGainLines) {
  ASSERT_TRUE(write("a", "y", "2", put("em.ini", "")));
  EXPECT_EQ(bytes("em.ini"), "[a]\r\ny=2\r\n");
  ASSERT_TRUE(write("b", "y", "2", put("nf.ini", "[a]\r\nx=1")));
  EXPECT_EQ(bytes("nf.ini"), "[a]\r\nx=1\r\n[b]\r\ny=2\r\n");
  ASSERT_TRUE(write("", "k1", "v", put("pre.ini", "k0=v0\r\n[a]\r\nx=1\r\n")));
  EXPECT_EQ(bytes("pre.ini"), "k0=v0\r\nk1=v\r\n[a]\r\nx=1\r\n");
}

using ProfileEncodingTest = ProfileTest;

TEST_F(ProfileEncodingTest, AnsiBytesPassThrough) {
  EXPECT_EQ(afterWrite("cp.ini", "s", "k", "\x80\x81\x8d\xff"), "[s]\r\nk=\x80\x81\x8d\xff\r\n");
  EXPECT_EQ(value("s", "k", at("cp.ini")), "\x80\x81\x8d\xff");
}

}  // namespace
