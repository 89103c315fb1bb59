// windows.h comes first: the other Windows headers build on it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/win32_side.h"

namespace {

TEST(LocalMemoryTest, ZeroInitialisedBlockIsFreedOnce) {
  auto* block = static_cast<unsigned char*>(LocalAlloc(LPTR, 64));
  ASSERT_NE(block, nullptr);
  for (int i = 0; i < 64; ++i) {
    EXPECT_EQ(block[i], 0) << i;
  }
  EXPECT_EQ(LocalFree(block), nullptr);
  SetLastError(0);
  EXPECT_EQ(LocalFree(block), block);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(LocalMemoryTest, ForeignPointersAreRefusedAndEmptyBlocksAreDistinct) {
  void* foreign = std::malloc(8);
  SetLastError(0);
  EXPECT_EQ(LocalFree(foreign), foreign);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  std::free(foreign);

  EXPECT_EQ(LocalFree(nullptr), nullptr);
  HLOCAL first = LocalAlloc(LMEM_FIXED, 0);
  HLOCAL second = LocalAlloc(LMEM_FIXED, 0);
  ASSERT_NE(first, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(LocalFree(first), nullptr);
  EXPECT_EQ(LocalFree(second), nullptr);
}

TEST(LocalMemoryTest, PlatformLayerRefusesMoveableBlocks) {
  if (!kOnPlatformLayer) {
    GTEST_SKIP() << "Windows has moveable blocks; nothing here needs them";
  }
  SetLastError(0);
  EXPECT_EQ(LocalAlloc(LMEM_MOVEABLE, 8), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
}

}  // namespace
