// Starts the real program in a folder of its own per case, with the case's
// application as data/app.so, and checks what it prints and how it ends.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/link_printer.h"
#include "platform/engine/app_api.h"
#include "tests/apps/test_app_lines.h"
#include "tests/end_to_end_expectations.h"
#include "tests/program_folder.h"

namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr char kViewControllerFailure[] = "Failed to create view controller.";

// Without arguments the application recognises the samples that the bundle
// ships, each under its header, and closes the window once all are answered.
TEST(EndToEndTest, BundleAsBuiltRecognisesItsSamplesAndEndsWhenItsApplicationClosesTheWindow) {
  ProgramFolder folder(NORVALIS_PROGRAM);
  folder.AddBundleData(NORVALIS_BUNDLE_DATA);
  const std::filesystem::path samples = folder.data() / "flutter_assets" / "samples";

  const ChildProcessResult result = folder.Run({}, RecognitionOptions("fr"));

  ExpectCleanExit(result);
  const std::vector<std::string> lines = Lines(result.standard_output);
  const auto receipt =
      std::find(lines.begin(), lines.end(), Header(samples / "english_receipt.png"));
  const auto page = std::find(lines.begin(), lines.end(), Header(samples / "french_page.png"));
  const auto no_text = std::find(lines.begin(), lines.end(), Header(samples / "no_text.png"));
  ASSERT_LT(receipt, page) << result.standard_output;
  ASSERT_LT(page, no_text) << result.standard_output;
  EXPECT_EQ(receipt, lines.begin());
  EXPECT_THAT(Text(receipt + 1, page), AllOf(HasSubstr("BAKERY"), HasSubstr("TOTAL")));
  EXPECT_THAT(Text(page + 1, no_text), AllOf(HasSubstr("Château"), HasSubstr("Révolution")));
  // Only the separating empty line stands between the last header and the
  // end: the image without text prints nothing.
  EXPECT_EQ(*(no_text - 1), "");
  EXPECT_EQ(no_text + 1, lines.end());
}

TEST(EndToEndTest, WindowIsShownOnlyAfterTheFirstFrame) {
  ProgramFolder folder(NORVALIS_PROGRAM);
  folder.AddData(NORVALIS_WINDOW_PROBE_APP);

  const ChildProcessResult result = folder.Run();

  ExpectCleanExit(result);
  EXPECT_THAT(Lines(result.standard_output),
              ElementsAre(Line(kBeforeFirstFrame, kHidden), Line(kAfterFirstFrame, kVisible)));
}

TEST(EndToEndTest, ApplicationGetsTheLaunchArgumentsAndAnswersFromTheHost) {
  ProgramFolder folder(NORVALIS_PROGRAM);
  folder.AddData(NORVALIS_MESSAGING_APP);

  const ChildProcessResult result = folder.Run({"first", "second with space", "\xC3\xA9t\xC3\xA9"});

  ExpectCleanExit(result);
  EXPECT_THAT(Lines(result.standard_output),
              ElementsAre(Line(kArgument, "first"), Line(kArgument, "second with space"),
                          Line(kArgument, "\xC3\xA9t\xC3\xA9"),
                          Line(kReplyOn, Line(kPluginChannel, ": empty")),
                          Line(kReplyOn, Line(kUnhandledChannel, ": empty"))));
}

TEST(EndToEndTest, LinkSentToTheWindowReachesTheApplication) {
  const std::string link = "norvalis://album/42?titre=\xC3\xA9t\xC3\xA9";
  ProgramFolder folder(NORVALIS_PROGRAM);
  folder.AddData(NORVALIS_LINK_APP);

  const ChildProcessResult result = folder.Run({link});

  ExpectCleanExit(result);
  EXPECT_THAT(Lines(result.standard_output),
              ElementsAre(Line(kSendAppLinkResult, "1"), Line(kForeignCopyDataResult, "0"),
                          Line(kLinkLinePrefix, link)));
}

// A data folder that the engine refuses, and what the engine's reason names.
struct StartFailure {
  const char* name;
  void (*prepare)(ProgramFolder& folder);
  const char* named;
};

class EndToEndStartFailureTest : public ::testing::TestWithParam<StartFailure> {};

// Where there is an application it would print as soon as it ran: empty
// output shows that it never did. Without it no frame is drawn, so the
// window, which shows itself on the first frame, never appeared.
TEST_P(EndToEndStartFailureTest, ExitsWithOneWithoutRunningTheApplication) {
  ProgramFolder folder(NORVALIS_PROGRAM);
  GetParam().prepare(folder);

  const ChildProcessResult result = folder.Run();

  EXPECT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_THAT(result.standard_output, IsEmpty());
  const std::vector<std::string> lines = Lines(result.standard_error);
  const auto failure = std::find(lines.begin(), lines.end(), kViewControllerFailure);
  ASSERT_NE(failure, lines.end()) << result.standard_error;
  EXPECT_EQ(std::count(lines.begin(), lines.end(), kViewControllerFailure), 1);
  ASSERT_NE(failure, lines.begin()) << "no reason before: " << result.standard_error;
  EXPECT_THAT(*(failure - 1), HasSubstr(GetParam().named));
}

INSTANTIATE_TEST_SUITE_P(
    DataFolder,
    EndToEndStartFailureTest,
    ::testing::Values(StartFailure{"NoDataFolder", [](ProgramFolder&) {}, "flutter_assets"},
                      StartFailure{"NoAssetsFolder",
                                   [](ProgramFolder& folder) {
                                     folder.AddIcuFile();
                                     folder.AddApplication(NORVALIS_WINDOW_PROBE_APP);
                                   },
                                   "flutter_assets"},
                      StartFailure{"NoIcuFile",
                                   [](ProgramFolder& folder) {
                                     folder.AddAssetsFolder();
                                     folder.AddApplication(NORVALIS_WINDOW_PROBE_APP);
                                   },
                                   "icudtl.dat"},
                      StartFailure{"NoApplication",
                                   [](ProgramFolder& folder) {
                                     folder.AddAssetsFolder();
                                     folder.AddIcuFile();
                                   },
                                   "app.so"},
                      StartFailure{
                          "ApplicationWithoutEntryPoint",
                          [](ProgramFolder& folder) { folder.AddData(NORVALIS_ENTRYLESS_APP); },
                          NORVALIS_APP_MAIN_NAME}),
    [](const ::testing::TestParamInfo<StartFailure>& info) {
      return std::string(info.param.name);
    });

}  // namespace
