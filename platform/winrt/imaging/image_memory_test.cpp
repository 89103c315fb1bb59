#include "platform/winrt/imaging/image_memory.h"

#include <gtest/gtest.h>
#include <sys/mman.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/winrt/imaging/address_sanitizer.h"
#include "platform/winrt/imaging/leptonica_image.h"

namespace winrt_layer {
namespace {

bool IsMapped(const void* address) {
  unsigned char resident = 0;
  void* page = reinterpret_cast<void*>(reinterpret_cast<uintptr_t>(address) & ~uintptr_t{4095});
  return mincore(page, 1, &resident) == 0 || errno != ENOMEM;
}

// The lines of /proc/self/smaps that describe the mapping starting at
// `start`; empty when there is none.
std::string MappingAt(const void* start) {
  std::ostringstream address;
  address << std::hex << reinterpret_cast<uintptr_t>(start) << '-';
  std::ifstream smaps("/proc/self/smaps");
  std::string line;
  std::string mapping;
  bool inside = false;
  while (std::getline(smaps, line)) {
    bool header = line.find(' ') != std::string::npos && line.find(':') > line.find(' ');
    if (header) {
      inside = line.rfind(address.str(), 0) == 0;
    }
    if (inside) {
      mapping += line + '\n';
    }
  }
  return mapping;
}

// The number after `field` in a mapping's lines of /proc/self/smaps; -1
// when the field is missing.
long Field(const std::string& mapping, const std::string& field) {
  size_t at = mapping.find("\n" + field + ":");
  if (at == std::string::npos) {
    return -1;
  }
  return std::strtol(mapping.c_str() + at + field.size() + 2, nullptr, 10);
}

bool HugePagesNeverUsed() {
  std::ifstream setting("/sys/kernel/mm/transparent_hugepage/enabled");
  std::string value;
  std::getline(setting, value);
  return value.empty() || value.find("[never]") != std::string::npos;
}

TEST(ImageMemoryTest, LargeBlocksAreHugePageMappingsGivenBackWhenFreed) {
  if (kAddressSanitizer) {
    GTEST_SKIP() << "under AddressSanitizer every block is on the heap";
  }
  const size_t bytes = (size_t{12} << 20) + 1;
  auto* block = static_cast<char*>(AllocateImageData(bytes));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % kHugePageBytes, 0u);
  std::memset(block, 0x5A, bytes);
  std::string mapping = MappingAt(block);
  ASSERT_FALSE(mapping.empty());
  // Rounded to whole huge pages, and nothing mapped beyond.
  EXPECT_EQ(Field(mapping, "Size"), 14336) << mapping;
  if (!HugePagesNeverUsed()) {
    EXPECT_EQ(Field(mapping, "THPeligible"), 1) << mapping;
  }
  FreeImageData(block);
  EXPECT_FALSE(IsMapped(block));
  EXPECT_FALSE(IsMapped(block + bytes - 1));
}

TEST(ImageMemoryTest, HeapBlocksAndNullAreFreedAsTheHeapsOwn) {
  auto* small = static_cast<char*>(AllocateImageData(kLargeImageBytes - 1));
  ASSERT_NE(small, nullptr);
  std::memset(small, 0, kLargeImageBytes - 1);
  FreeImageData(small);
  // A heap block on a huge page boundary, as an image made before Leptonica
  // used these functions may be: it is not taken for a mapping.
  void* aligned = std::aligned_alloc(kHugePageBytes, kHugePageBytes);
  ASSERT_NE(aligned, nullptr);
  FreeImageData(aligned);
  FreeImageData(nullptr);
}

TEST(ImageMemoryTest, LeptonicaImagesUseIt) {
  if (kAddressSanitizer) {
    GTEST_SKIP() << "under AddressSanitizer every block is on the heap";
  }
  SetUpLeptonica();
  ScopedPix photo(pixCreate(4000, 3000, 8));
  ASSERT_NE(photo, nullptr);
  l_uint32* pixels = pixGetData(photo.get());
  EXPECT_EQ(reinterpret_cast<uintptr_t>(pixels) % kHugePageBytes, 0u);
  ScopedPix copy(pixCopy(nullptr, photo.get()));
  ASSERT_NE(copy, nullptr);
  photo.reset();
  EXPECT_FALSE(IsMapped(pixels));
}

TEST(ImageMemoryTest, ImpossibleSizesAreRefused) {
  if (kAddressSanitizer) {
    GTEST_SKIP() << "AddressSanitizer's allocator stops the process instead";
  }
  EXPECT_EQ(AllocateImageData(SIZE_MAX), nullptr);
  EXPECT_EQ(AllocateImageData(SIZE_MAX - kHugePageBytes), nullptr);
}

}  // namespace
}  // namespace winrt_layer
