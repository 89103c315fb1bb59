// BSTR: oleaut32's string functions. The units are preceded by their length
// in bytes, as on Windows, and null-terminated.

#include <oleauto.h>

#include <cstring>
#include <cwchar>
#include <limits>
#include <new>

namespace {

typedef UINT32 BstrPrefix;

BstrPrefix* PrefixOf(BSTR text) {
  return reinterpret_cast<BstrPrefix*>(reinterpret_cast<char*>(text) - sizeof(BstrPrefix));
}

}  // namespace

extern "C" BSTR WINAPI SysAllocStringLen(const OLECHAR* text, UINT length) {
  if (length >= (std::numeric_limits<BstrPrefix>::max() / sizeof(OLECHAR)) - 1) {
    return nullptr;
  }
  void* block =
      ::operator new(sizeof(BstrPrefix) + (size_t{length} + 1) * sizeof(OLECHAR), std::nothrow);
  if (block == nullptr) {
    return nullptr;
  }
  *static_cast<BstrPrefix*>(block) = static_cast<BstrPrefix>(length * sizeof(OLECHAR));
  auto* units = reinterpret_cast<OLECHAR*>(static_cast<char*>(block) + sizeof(BstrPrefix));
  if (text != nullptr) {
    std::memcpy(units, text, size_t{length} * sizeof(OLECHAR));
  } else {
    std::memset(units, 0, size_t{length} * sizeof(OLECHAR));
  }
  units[length] = 0;
  return units;
}

extern "C" BSTR WINAPI SysAllocString(const OLECHAR* text) {
  if (text == nullptr) {
    return nullptr;
  }
  size_t length = std::wcslen(text);
  if (length > std::numeric_limits<UINT>::max()) {
    return nullptr;
  }
  return SysAllocStringLen(text, static_cast<UINT>(length));
}

extern "C" UINT WINAPI SysStringLen(BSTR text) {
  return text == nullptr ? 0 : *PrefixOf(text) / sizeof(OLECHAR);
}

extern "C" void WINAPI SysFreeString(BSTR text) {
  if (text != nullptr) {
    ::operator delete(PrefixOf(text));
  }
}
