// Real recognition of the committed fixtures through the platform's own
// runtime classes, as the worker runs it.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "ocr/ocr_test_support.h"
#include "ocr/recognize_image_file.h"

namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

const std::filesystem::path kFixtures = NORVALIS_FIXTURES_DIR;

std::string Fixture(const char* name) {
  return (kFixtures / name).string();
}

// Sets an environment variable for the life of the object.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) {
      old_ = old;
    }
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnvironment() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// A folder of its own under the system's temporary folder.
class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ocr_test_XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TemporaryFolder() { std::filesystem::remove_all(path_); }

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

class RecognitionTest : public testing::Test {
 protected:
  ScopedEnvironment language_{"LANGUAGE", "en"};
};

TEST_F(RecognitionTest, RecognisesAnEnglishReceipt) {
  const WorkerOutcome outcome = RunWorker(Fixture("english.png"));

  EXPECT_THAT(outcome.error, IsEmpty());
  EXPECT_THAT(outcome.text, AllOf(HasSubstr("GROCERY"), HasSubstr("Milk"), HasSubstr("TOTAL")));
}

TEST_F(RecognitionTest, RecognisesFrenchWithItsAccents) {
  const ScopedEnvironment french("LANGUAGE", "fr");

  const WorkerOutcome outcome = RunWorker(Fixture("french.png"));

  EXPECT_THAT(outcome.error, IsEmpty());
  EXPECT_THAT(outcome.text, AllOf(HasSubstr("caf\xC3\xA9"), HasSubstr("tr\xC3\xA8s"),
                                  HasSubstr("biblioth\xC3\xA8que")));
}

TEST_F(RecognitionTest, EveryDecodedFormatIsRecognised) {
  for (const char* name :
       {"english.jpg", "english.tiff", "english.bmp", "english.gif", "english.webp"}) {
    const WorkerOutcome outcome = RunWorker(Fixture(name));
    EXPECT_THAT(outcome.error, IsEmpty()) << name;
    EXPECT_THAT(outcome.text, HasSubstr("TOTAL")) << name;
  }
}

TEST_F(RecognitionTest, AnImageWithoutTextGivesEmptyText) {
  const WorkerOutcome outcome = RunWorker(Fixture("blank.png"));

  EXPECT_THAT(outcome.error, IsEmpty());
  EXPECT_THAT(outcome.text, IsEmpty());
}

TEST_F(RecognitionTest, OnlyTheFirstFrameOfAMultiFrameImageIsRead) {
  const WorkerOutcome tiff = RunWorker(Fixture("two_pages.tiff"));
  EXPECT_THAT(tiff.error, IsEmpty());
  EXPECT_THAT(tiff.text, AllOf(HasSubstr("FIRST PAGE"), Not(HasSubstr("SECOND"))));

  const WorkerOutcome gif = RunWorker(Fixture("two_frames.gif"));
  EXPECT_THAT(gif.error, IsEmpty());
  EXPECT_THAT(gif.text, AllOf(HasSubstr("GROCERY"), Not(HasSubstr("SECOND"))));
}

TEST_F(RecognitionTest, FilesThatCannotBeReadOrDecodedReportThePlatformsMessage) {
  const TemporaryFolder folder;
  struct Case {
    std::string path;
    std::string message;
  };
  for (const Case& unreadable : {
           Case{Fixture("not_an_image.txt"), "The component cannot be found."},
           Case{(folder.path() / "missing.png").string(),
                "The system cannot find the file specified."},
       }) {
    const WorkerOutcome outcome = RunWorker(unreadable.path);
    EXPECT_THAT(outcome.text, IsEmpty()) << unreadable.path;
    EXPECT_EQ(outcome.error, unreadable.message) << unreadable.path;
  }
  for (const char* broken : {"empty.png", "truncated.png", "huge_header.png", "wide.png"}) {
    const WorkerOutcome outcome = RunWorker(Fixture(broken));
    EXPECT_THAT(outcome.text, IsEmpty()) << broken;
    EXPECT_THAT(outcome.error, Not(IsEmpty())) << broken;
  }
  const WorkerOutcome directory = RunWorker(folder.path().string());
  EXPECT_THAT(directory.error, Not(IsEmpty()));
  // StorageFile takes absolute paths only.
  EXPECT_THAT(RunWorker("tests/fixtures/english.png").error, HasSubstr("absolute"));
}

TEST_F(RecognitionTest, APathWithAnAccentIsFound) {
  const TemporaryFolder folder;
  const std::filesystem::path accented = folder.path() / "re\xC3\xA7u caf\xC3\xA9.png";
  std::filesystem::copy_file(Fixture("english.png"), accented);

  const WorkerOutcome outcome = RunWorker(accented.string());

  EXPECT_THAT(outcome.error, IsEmpty());
  EXPECT_THAT(outcome.text, HasSubstr("TOTAL"));
}

TEST_F(RecognitionTest, WithoutAnyLanguageDataOnlyReadableImagesReportTheMissingEngine) {
  const TemporaryFolder empty_data;
  const ScopedEnvironment tessdata("TESSDATA_PREFIX", empty_data.path().string());

  EXPECT_EQ(RunWorker(Fixture("english.png")).error, kMissingEngineMessage);
  EXPECT_EQ(RunWorker(Fixture("not_an_image.txt")).error, "The component cannot be found.");
}

TEST_F(RecognitionTest, AProfileLanguageWithoutDataFallsBackToEnglish) {
  const ScopedEnvironment japanese("LANGUAGE", "ja");

  const WorkerOutcome outcome = RunWorker(Fixture("english.png"));

  EXPECT_THAT(outcome.error, IsEmpty());
  EXPECT_THAT(outcome.text, HasSubstr("TOTAL"));
}

}  // namespace
