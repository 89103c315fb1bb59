#include "shell/project_bundle.h"

#include <gtest/gtest.h>

namespace {

TEST(ProjectBundleTest, AppendsTheThreeSuffixesToTheDirectoryAsGiven) {
  const ProjectBundle bundle(L"data");
  EXPECT_EQ(bundle.assets_dir, L"data\\flutter_assets");
  EXPECT_EQ(bundle.icu_file, L"data\\icudtl.dat");
  EXPECT_EQ(bundle.aot_file, L"data\\app.so");
  EXPECT_TRUE(bundle.entrypoint.empty());
  EXPECT_TRUE(bundle.entrypoint_args.empty());
  EXPECT_EQ(bundle.engine_setting_1, 0);
  EXPECT_EQ(bundle.engine_setting_2, 0);

  // Nothing is normalised: a trailing separator doubles, an empty directory
  // gives paths that start with the separator.
  EXPECT_EQ(ProjectBundle(L"C:\\app\\").icu_file, L"C:\\app\\\\icudtl.dat");
  EXPECT_EQ(ProjectBundle(L"").aot_file, L"\\app.so");
  EXPECT_EQ(ProjectBundle(L"d/x").assets_dir, L"d/x\\flutter_assets");
}

}  // namespace
