#include <gtest/gtest.h>
#include <win32_desktop_control.h>

#include "engine_bridge/engine_api.h"

namespace {

class MonitorDpiTest : public testing::Test {
 protected:
  void TearDown() override { win32_desktop::ResetDesktop(); }
};

TEST_F(MonitorDpiTest, ReportsEachMonitorsOwnDpi) {
  win32_desktop::MonitorSetup left;
  left.rect = left.work_area = {0, 0, 1920, 1080};
  left.dpi = 120;
  win32_desktop::MonitorSetup right;
  right.rect = right.work_area = {1920, 0, 3840, 1080};
  right.dpi = 168;
  win32_desktop::SetMonitors({left, right});
  const std::vector<HMONITOR> monitors = win32_desktop::ListMonitors();
  ASSERT_EQ(monitors.size(), 2u);
  EXPECT_EQ(FlutterDesktopGetDpiForMonitor(monitors[0]), 120u);
  EXPECT_EQ(FlutterDesktopGetDpiForMonitor(monitors[1]), 168u);
}

TEST_F(MonitorDpiTest, AHandleThatIsNoMonitorCountsAsNinetySixDpi) {
  EXPECT_EQ(FlutterDesktopGetDpiForMonitor(nullptr), 96u);
  EXPECT_EQ(FlutterDesktopGetDpiForMonitor(reinterpret_cast<HMONITOR>(0x1234)), 96u);
}

}  // namespace
