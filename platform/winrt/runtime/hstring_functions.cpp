// HSTRING: combase's string functions. A string is one block holding its
// header and its units; a reference string's header lives in the caller's
// HSTRING_HEADER and points at the caller's units.

#include <winerror.h>
#include <winstring.h>

#include <atomic>
#include <cstring>
#include <limits>
#include <new>

struct HSTRING__ {
  bool is_reference;
  UINT32 length;
  const WCHAR* buffer;
  std::atomic<UINT32> references;
};
static_assert(sizeof(HSTRING__) <= sizeof(HSTRING_HEADER));
static_assert(alignof(HSTRING__) <= alignof(HSTRING_HEADER));

namespace {

// Header and units in one block, the units null-terminated.
HSTRING AllocateString(const WCHAR* source, UINT32 length) {
  size_t units_offset = sizeof(HSTRING__);
  if (length >= (std::numeric_limits<size_t>::max() - units_offset) / sizeof(WCHAR) - 1) {
    return nullptr;
  }
  void* block = ::operator new(units_offset + (size_t{length} + 1) * sizeof(WCHAR), std::nothrow);
  if (block == nullptr) {
    return nullptr;
  }
  auto* units = reinterpret_cast<WCHAR*>(static_cast<char*>(block) + units_offset);
  std::memcpy(units, source, size_t{length} * sizeof(WCHAR));
  units[length] = 0;
  return new (block) HSTRING__{false, length, units, {1}};
}

}  // namespace

extern "C" HRESULT WINAPI WindowsCreateString(LPCWSTR source, UINT32 length, HSTRING* string) {
  if (string == nullptr) {
    return E_INVALIDARG;
  }
  *string = nullptr;
  if (length == 0) {
    return S_OK;
  }
  if (source == nullptr) {
    return E_POINTER;
  }
  *string = AllocateString(source, length);
  return *string == nullptr ? E_OUTOFMEMORY : S_OK;
}

extern "C" HRESULT WINAPI WindowsCreateStringReference(PCWSTR source,
                                                       UINT32 length,
                                                       HSTRING_HEADER* header,
                                                       HSTRING* string) {
  if (string == nullptr || header == nullptr) {
    return E_INVALIDARG;
  }
  *string = nullptr;
  if (length == 0) {
    return S_OK;
  }
  if (source == nullptr) {
    return E_POINTER;
  }
  if (source[length] != 0) {
    return E_INVALIDARG;
  }
  *string = new (header) HSTRING__{true, length, source, {0}};
  return S_OK;
}

extern "C" HRESULT WINAPI WindowsDeleteString(HSTRING string) {
  if (string == nullptr || string->is_reference) {
    return S_OK;
  }
  if (string->references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
    string->~HSTRING__();
    ::operator delete(string);
  }
  return S_OK;
}

extern "C" HRESULT WINAPI WindowsDuplicateString(HSTRING string, HSTRING* new_string) {
  if (new_string == nullptr) {
    return E_INVALIDARG;
  }
  *new_string = nullptr;
  if (string == nullptr) {
    return S_OK;
  }
  // The caller's memory behind a reference string may go away: the
  // duplicate is a copy of its own.
  if (string->is_reference) {
    *new_string = AllocateString(string->buffer, string->length);
    return *new_string == nullptr ? E_OUTOFMEMORY : S_OK;
  }
  string->references.fetch_add(1, std::memory_order_relaxed);
  *new_string = string;
  return S_OK;
}

extern "C" PCWSTR WINAPI WindowsGetStringRawBuffer(HSTRING string, UINT32* length) {
  if (string == nullptr) {
    if (length != nullptr) {
      *length = 0;
    }
    return L"";
  }
  if (length != nullptr) {
    *length = string->length;
  }
  return string->buffer;
}

extern "C" UINT32 WINAPI WindowsGetStringLen(HSTRING string) {
  return string == nullptr ? 0 : string->length;
}
