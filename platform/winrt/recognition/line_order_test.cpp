#include "platform/winrt/recognition/line_order.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace winrt_layer {
namespace {

using ::testing::ElementsAre;

// The texts of `lines` once ordered.
std::vector<std::string> Texts(std::vector<TextLine> lines) {
  OrderLines(&lines);
  std::vector<std::string> texts;
  for (TextLine& line : lines) {
    texts.push_back(std::move(line.text));
  }
  return texts;
}

TEST(LineOrderTest, ValuesSetApartAreReadOnTheirRows) {
  // A list of files as Tesseract's layout returns it: the rows' blocks,
  // then each value aligned right as a block of its own.
  std::vector<TextLine> lines = {
      {"TODAY", 0, 24, 157, 92, 170},
      {"budget_2024_final.xlsx", 1, 104, 201, 357, 224},
      {"184 KB, edited by Priya", 1, 104, 232, 310, 250},
      {"holiday_photos.zip", 2, 104, 405, 309, 428},
      {"48.7 MB", 2, 103, 437, 174, 450},
      {"4 items, 61.3 GB available", 3, 422, 744, 657, 760},
      {"10:15", 4, 1007, 205, 1054, 218},
      {"Thu", 5, 1022, 408, 1054, 422},
      {"starred", 6, 900, 408, 980, 422},
  };
  EXPECT_THAT(
      Texts(std::move(lines)),
      ElementsAre("TODAY", "budget_2024_final.xlsx 10:15", "184 KB, edited by Priya",
                  "holiday_photos.zip starred Thu", "48.7 MB", "4 items, 61.3 GB available"));
}

TEST(LineOrderTest, AColumnOfValuesIsReadOnItsRows) {
  // A receipt: the layout reads the prices as a block after the items.
  std::vector<TextLine> lines = {
      {"CAFE LUMEN", 0, 140, 30, 340, 60}, {"Latte", 0, 30, 120, 120, 150},
      {"Croissant", 0, 30, 180, 190, 210}, {"Thank you!", 0, 30, 420, 200, 455},
      {"4.20", 1, 290, 122, 355, 150},     {"2.80", 1, 290, 182, 355, 210},
  };
  EXPECT_THAT(Texts(std::move(lines)),
              ElementsAre("CAFE LUMEN", "Latte 4.20", "Croissant 2.80", "Thank you!"));
}

TEST(LineOrderTest, InitialsOnAvatarsStartTheirRows) {
  // A contacts list: the layout reads the avatars' initials, which stand
  // between a name and the line below it, as a column before the list.
  std::vector<TextLine> lines = {
      {"AM", 0, 37, 112, 63, 125},
      {"BK", 0, 39, 202, 61, 215},
      {"Contacts", 1, 381, 24, 476, 40},
      {"Alice Martin", 2, 100, 97, 217, 112},
      {"Mobile 555 0142", 2, 102, 126, 231, 138},
      {"Bruno Keller", 3, 102, 187, 222, 202},
      {"Work, last seen 2 h ago", 3, 101, 216, 286, 231},
      {"09:41", 4, 791, 100, 833, 112},
  };
  EXPECT_THAT(Texts(std::move(lines)),
              ElementsAre("Contacts", "AM Alice Martin 09:41", "Mobile 555 0142", "BK Bruno Keller",
                          "Work, last seen 2 h ago"));
  // A side menu beside an article: its items would start lines of one
  // block.
  lines = {
      {"Home", 0, 20, 40, 80, 58},
      {"About us", 0, 20, 70, 110, 88},
      {"The harbour was quiet in the early", 1, 130, 40, 700, 58},
      {"morning. Fishing boats returned", 1, 130, 70, 700, 88},
  };
  EXPECT_THAT(Texts(std::move(lines)),
              ElementsAre("Home", "About us", "The harbour was quiet in the early",
                          "morning. Fishing boats returned"));
}

TEST(LineOrderTest, AWordTheLayoutCutInTwoIsJoinedWithoutASpace) {
  // A bold heading's end read, its start read again as a row left out.
  std::vector<TextLine> lines = {
      {"ations", 0, 93, 25, 162, 40},
      {"Allow Notifications", 0, 16, 84, 152, 96},
      {"Notific", 1, 15, 22, 93, 43},
  };
  EXPECT_THAT(Texts(std::move(lines)), ElementsAre("Notifications", "Allow Notifications"));
}

TEST(LineOrderTest, BlocksOneBelowAnotherAreReadDownThePage) {
  // A chat: the layout reads the bubbles on the right after those on the
  // left, and the window's title last.
  std::vector<TextLine> lines = {
      {"Did anyone see the forecast?", 0, 24, 84, 324, 104},
      {"Count me in.", 1, 24, 308, 336, 324},
      {"I can drive, the car fits 5.", 2, 666, 222, 822, 238},
      {"Team Nordlys", 3, 60, 10, 165, 26},
  };
  EXPECT_THAT(Texts(std::move(lines)), ElementsAre("Team Nordlys", "Did anyone see the forecast?",
                                                   "I can drive, the car fits 5.", "Count me in."));
  // The last bubble on the left and the text field far below it, taken
  // for one block, around a bubble on the right.
  lines = {
      {"Are we still on for lunch?", 0, 35, 59, 173, 74},
      {"Great, I will book a table", 1, 38, 232, 167, 243},
      {"iMessage", 1, 42, 549, 99, 567},
      {"See you there", 2, 489, 312, 563, 324},
  };
  EXPECT_THAT(Texts(std::move(lines)),
              ElementsAre("Are we still on for lunch?", "Great, I will book a table",
                          "See you there", "iMessage"));
}

TEST(LineOrderTest, ColumnsOfTextKeepTheirOrder) {
  // Two columns of an article, and a short line at the end of the second
  // beside a line of the first.
  std::vector<TextLine> lines = {
      {"The harbour was quiet in the early", 0, 40, 40, 600, 62},
      {"morning. Fishing boats returned", 0, 40, 70, 600, 92},
      {"In the afternoon the wind turned", 1, 700, 40, 1260, 62},
      {"over the fjord.", 1, 700, 70, 900, 92},
  };
  EXPECT_THAT(Texts(std::move(lines)),
              ElementsAre("The harbour was quiet in the early", "morning. Fishing boats returned",
                          "In the afternoon the wind turned", "over the fjord."));
}

}  // namespace
}  // namespace winrt_layer
