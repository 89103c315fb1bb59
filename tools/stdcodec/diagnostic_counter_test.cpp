#include "tools/stdcodec/diagnostic_counter.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

#include "codec/diagnostic.h"

namespace stdcodec {
namespace {

// Points std::cerr at a string for the test's lifetime.
class DiagnosticCounterTest : public testing::Test {
 protected:
  DiagnosticCounterTest() : original_(std::cerr.rdbuf(captured_.rdbuf())) {}
  ~DiagnosticCounterTest() override { std::cerr.rdbuf(original_); }

  std::stringstream captured_;

 private:
  std::streambuf* original_;
};

TEST_F(DiagnosticCounterTest, CountsLinesAndPassesThemOn) {
  std::streambuf* before = std::cerr.rdbuf();
  {
    DiagnosticCounter counter(DiagnosticCounter::Echo::kPassOn);
    EXPECT_EQ(counter.lines(), 0);
    flutter::WriteDiagnosticLine("first");
    flutter::WriteDiagnosticLine("second");
    std::cerr << 'x' << '\n';
    EXPECT_EQ(counter.lines(), 3);
  }
  EXPECT_EQ(captured_.str(), "first\nsecond\nx\n");
  EXPECT_EQ(std::cerr.rdbuf(), before);
}

TEST_F(DiagnosticCounterTest, DropsLinesWhenToldTo) {
  {
    DiagnosticCounter counter(DiagnosticCounter::Echo::kDrop);
    flutter::WriteDiagnosticLine("hidden");
    EXPECT_EQ(counter.lines(), 1);
  }
  std::cerr << "shown" << std::endl;
  EXPECT_EQ(captured_.str(), "shown\n");
}

}  // namespace
}  // namespace stdcodec
