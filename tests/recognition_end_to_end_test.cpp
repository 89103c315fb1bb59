// The main job against the real program: the bundle's own application asks
// the host's OCR service for the text of the images it is given, and the
// OCR channel answers calls that the application never makes.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/image_list.h"
#include "codec/standard_method_codec.h"
#include "engine_bridge/channel_call_adapter.h"
#include "ocr/ocr_channel.h"
#include "ocr/ocr_channel_handler.h"
#include "ocr/recognize_image_file.h"
#include "tests/apps/test_app_lines.h"
#include "tests/end_to_end_expectations.h"
#include "tests/program_folder.h"

namespace {

namespace fs = std::filesystem;

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

const fs::path kFixtures = NORVALIS_FIXTURES;

std::string OcrFailed(std::string_view message) {
  return std::string(kOcrFailedCode) + ": " + std::string(message);
}

// A copy of the bundle as built, whose application is the main job.
class RecognitionEndToEndTest : public ::testing::Test {
 protected:
  RecognitionEndToEndTest() : folder_(NORVALIS_PROGRAM) {
    folder_.AddBundleData(NORVALIS_BUNDLE_DATA);
  }

  ChildProcessResult Recognize(const std::vector<std::string>& arguments,
                               const std::string& language = "en") const {
    return folder_.Run(arguments, RecognitionOptions(language));
  }

  ProgramFolder folder_;
};

TEST_F(RecognitionEndToEndTest, PrintsTheTextOfOneImageWithoutHeader) {
  const ChildProcessResult result = Recognize({(kFixtures / "english.png").string()});

  ExpectCleanExit(result);
  EXPECT_THAT(result.standard_output, AllOf(HasSubstr("GROCERY STORE"), HasSubstr("Milk 2.49"),
                                            HasSubstr("TOTAL 5.59"), Not(HasSubstr("==>"))));
  EXPECT_THAT(result.standard_output, testing::EndsWith("\n"));
}

TEST_F(RecognitionEndToEndTest, KeepsTheAccentsOfFrenchText) {
  const ChildProcessResult result = Recognize({(kFixtures / "french.png").string()}, "fr");

  ExpectCleanExit(result);
  EXPECT_THAT(result.standard_output,
              AllOf(HasSubstr("café"), HasSubstr("très"), HasSubstr("bibliothèque"),
                    HasSubstr("Élève"), HasSubstr("garçon")));
}

// The host opens absolute paths only; the application makes a relative one
// absolute against its current folder. Links are the app-links plugin's.
TEST_F(RecognitionEndToEndTest, ResolvesRelativePathsAndSkipsLinks) {
  ChildProcessOptions options = RecognitionOptions("en");
  options.working_directory = kFixtures;

  const ChildProcessResult result = folder_.Run({"norvalis://album/1", "english.png"}, options);

  ExpectCleanExit(result);
  EXPECT_THAT(result.standard_output, AllOf(HasSubstr("GROCERY"), Not(HasSubstr("==>"))));
}

TEST_F(RecognitionEndToEndTest, MissingFileIsReportedAsOcrFailedAndTheProgramEndsWithZero) {
  const ChildProcessResult result = Recognize({(kFixtures / "no_such_image.png").string()});

  EXPECT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_THAT(result.standard_output, IsEmpty());
  EXPECT_THAT(Lines(result.standard_error),
              ElementsAre(OcrFailed("The system cannot find the file specified.")));
}

TEST_F(RecognitionEndToEndTest, ImageWithoutTextPrintsNothing) {
  const ChildProcessResult result = Recognize({(kFixtures / "blank.png").string()});

  ExpectCleanExit(result);
  EXPECT_THAT(result.standard_output, IsEmpty());
}

// Each request is sent once the previous one is answered; the answers come
// out in the order of the arguments, each under its header, errors on
// standard error between them.
TEST_F(RecognitionEndToEndTest, AnswersSeveralImagesInTheirOrder) {
  const fs::path english = kFixtures / "english.png";
  const fs::path missing = kFixtures / "no_such_image.png";
  const fs::path blank = kFixtures / "blank.png";
  const fs::path french = kFixtures / "french.png";

  const ChildProcessResult result =
      Recognize({english.string(), missing.string(), blank.string(), french.string()}, "fr");

  EXPECT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_THAT(Lines(result.standard_error),
              ElementsAre(OcrFailed("The system cannot find the file specified.")));
  const std::vector<std::string> lines = Lines(result.standard_output);
  ASSERT_THAT(lines, Not(IsEmpty()));
  EXPECT_EQ(lines.front(), Header(english));
  const auto missing_header = std::find(lines.begin(), lines.end(), Header(missing));
  ASSERT_NE(missing_header, lines.end()) << result.standard_output;
  EXPECT_THAT(Text(lines.begin() + 1, missing_header), HasSubstr("GROCERY"));
  EXPECT_THAT(std::vector<std::string>(missing_header - 1, missing_header + 4),
              ElementsAre("", Header(missing), "", Header(blank), ""));
  EXPECT_EQ(missing_header[4], Header(french));
  EXPECT_THAT(Text(missing_header + 5, lines.end()), HasSubstr("bibliothèque"));
}

// Files that are no image, or that would take too much memory to decode,
// each get their own failure and the run goes on to the next.
TEST_F(RecognitionEndToEndTest, EveryBrokenImageIsAnsweredWithOcrFailed) {
  const std::vector<std::string> broken = {
      (kFixtures / "not_an_image.txt").string(), (kFixtures / "empty.png").string(),
      (kFixtures / "truncated.png").string(), (kFixtures / "huge_header.png").string(),
      kFixtures.string()};

  const ChildProcessResult result = Recognize(broken);

  EXPECT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_code, 0);
  const std::vector<std::string> errors = Lines(result.standard_error);
  ASSERT_EQ(errors.size(), broken.size()) << result.standard_error;
  for (const std::string& error : errors) {
    EXPECT_THAT(error, StartsWith(OcrFailed("")));
  }
  const std::vector<std::string> lines = Lines(result.standard_output);
  std::vector<std::string> headers;
  std::copy_if(lines.begin(), lines.end(), std::back_inserter(headers),
               [](const std::string& line) { return !line.empty(); });
  EXPECT_THAT(headers, ElementsAre(Header(broken[0]), Header(broken[1]), Header(broken[2]),
                                   Header(broken[3]), Header(broken[4])));
}

TEST_F(RecognitionEndToEndTest, WithoutAnyOcrLanguageTheAnswerSaysSo) {
  const fs::path no_languages = folder_.path() / "no_tessdata";
  fs::create_directory(no_languages);
  ChildProcessOptions options = RecognitionOptions("en");
  options.environment["TESSDATA_PREFIX"] = no_languages.string();

  const ChildProcessResult result = folder_.Run({(kFixtures / "english.png").string()}, options);

  EXPECT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_THAT(result.standard_output, IsEmpty());
  EXPECT_THAT(Lines(result.standard_error), ElementsAre(OcrFailed(kMissingEngineMessage)));
}

TEST(RecognitionWithoutSamplesEndToEndTest, SaysThereIsNoImageAndEnds) {
  ProgramFolder folder(NORVALIS_PROGRAM);
  folder.AddData(fs::path(NORVALIS_BUNDLE_DATA) / "app.so");

  const ChildProcessResult result = folder.Run();

  EXPECT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_THAT(result.standard_output, IsEmpty());
  EXPECT_THAT(
      Lines(result.standard_error),
      ElementsAre(Line(kNoImageDiagnostic, (folder.path() / std::string(kSampleFolder)).string())));
}

// Calls the application never makes, sent by a test application through the
// real engine and codec: the handler's checks and the channel's answer to
// bytes that hold no call.
TEST(OcrChannelEndToEndTest, AnswersMalformedCallsWithoutRecognising) {
  ProgramFolder folder(NORVALIS_PROGRAM);
  folder.AddData(NORVALIS_OCR_CALL_APP);

  const ChildProcessResult result = folder.Run();

  EXPECT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_code, 0);
  const std::string bad_args =
      Line(kErrorReply, kBadArgsCode) + ": " + kMissingPathMessage + std::string(kWithoutDetails);
  EXPECT_THAT(Lines(result.standard_output),
              ElementsAre(Line(kCallWithoutArguments, ": " + bad_args),
                          Line(kCallWithNumericPath, ": " + bad_args),
                          Line(kCallOfUnknownMethod, Line(": ", kNotImplementedReply)),
                          Line(kMalformedCall, Line(": ", kNotImplementedReply))));
  EXPECT_THAT(Lines(result.standard_error),
              ElementsAre(std::string(flutter::StandardMethodCodec::kNameNotStringDiagnostic),
                          Line(flutter::ChannelCallAdapter<>::kUndecodableMessageDiagnostic,
                               kOcrChannelName)));
}

}  // namespace
