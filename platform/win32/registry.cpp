#include <win32_process_control.h>
#include <winerror.h>
#include <winreg.h>

#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "platform/win32/case_folding.h"

namespace {

// The registry compares names as Windows compares window class names.
std::wstring FoldCase(const wchar_t* text) {
  std::wstring folded;
  for (; text != nullptr && *text != 0; ++text) {
    folded += win32::UpperCaseUnit(*text);
  }
  return folded;
}

bool IsPredefinedRoot(HKEY root) {
  return root == HKEY_CLASSES_ROOT || root == HKEY_CURRENT_USER || root == HKEY_LOCAL_MACHINE ||
         root == HKEY_USERS || root == HKEY_CURRENT_CONFIG;
}

DWORD TypeRestriction(DWORD type) {
  switch (type) {
    case REG_NONE:
      return RRF_RT_REG_NONE;
    case REG_SZ:
      return RRF_RT_REG_SZ;
    case REG_EXPAND_SZ:
      return RRF_RT_REG_EXPAND_SZ;
    case REG_BINARY:
      return RRF_RT_REG_BINARY;
    case REG_DWORD:
      return RRF_RT_REG_DWORD;
    case REG_MULTI_SZ:
      return RRF_RT_REG_MULTI_SZ;
    case REG_QWORD:
      return RRF_RT_REG_QWORD;
    default:
      return 0;
  }
}

struct RegistryValue {
  DWORD type;
  std::vector<BYTE> data;
};

class Registry {
 public:
  // Root, folded key path, folded value name.
  using Name = std::tuple<uintptr_t, std::wstring, std::wstring>;

  void Set(const Name& name, RegistryValue value) {
    std::lock_guard<std::mutex> lock(mutex_);
    values_[name] = std::move(value);
  }

  bool Delete(const Name& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    return values_.erase(name) == 1;
  }

  void Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    values_.clear();
  }

  bool Get(const Name& name, RegistryValue* value) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = values_.find(name);
    if (found == values_.end()) {
      return false;
    }
    *value = found->second;
    return true;
  }

 private:
  std::mutex mutex_;
  std::map<Name, RegistryValue> values_;
};

Registry& ProcessRegistry() {
  static auto* registry = new Registry;
  return *registry;
}

Registry::Name MakeName(HKEY root, LPCWSTR key, LPCWSTR name) {
  return Registry::Name(reinterpret_cast<uintptr_t>(root), FoldCase(key), FoldCase(name));
}

LSTATUS FailRead(LSTATUS status, DWORD flags, PVOID data, LPDWORD data_size) {
  if ((flags & RRF_ZEROONFAILURE) != 0 && data != nullptr && data_size != nullptr) {
    std::memset(data, 0, *data_size);
  }
  return status;
}

}  // namespace

extern "C" LSTATUS WINAPI RegGetValueW(HKEY key,
                                       LPCWSTR sub_key,
                                       LPCWSTR value_name,
                                       DWORD flags,
                                       LPDWORD type,
                                       PVOID data,
                                       LPDWORD data_size) {
  if (!IsPredefinedRoot(key)) {
    return ERROR_INVALID_HANDLE;
  }
  if ((flags & RRF_RT_ANY) == 0 || (data != nullptr && data_size == nullptr)) {
    return ERROR_INVALID_PARAMETER;
  }
  RegistryValue value;
  if (!ProcessRegistry().Get(MakeName(key, sub_key, value_name), &value)) {
    return FailRead(ERROR_FILE_NOT_FOUND, flags, data, data_size);
  }
  if ((TypeRestriction(value.type) & flags) == 0) {
    return FailRead(ERROR_UNSUPPORTED_TYPE, flags, data, data_size);
  }
  if (type != nullptr) {
    *type = value.type;
  }
  if (data_size == nullptr) {
    return ERROR_SUCCESS;
  }
  auto needed = static_cast<DWORD>(value.data.size());
  if (data != nullptr && *data_size < needed) {
    LSTATUS status = FailRead(ERROR_MORE_DATA, flags, data, data_size);
    *data_size = needed;
    return status;
  }
  if (data != nullptr) {
    std::memcpy(data, value.data.data(), needed);
  }
  *data_size = needed;
  return ERROR_SUCCESS;
}

extern "C" BOOL Win32ProcessSetRegistryDword(HKEY root, LPCWSTR key, LPCWSTR name, DWORD value) {
  if (!IsPredefinedRoot(root)) {
    return FALSE;
  }
  RegistryValue stored{REG_DWORD, std::vector<BYTE>(sizeof(DWORD))};
  std::memcpy(stored.data.data(), &value, sizeof(DWORD));
  ProcessRegistry().Set(MakeName(root, key, name), std::move(stored));
  return TRUE;
}

extern "C" BOOL Win32ProcessSetRegistryString(HKEY root, LPCWSTR key, LPCWSTR name, LPCWSTR value) {
  if (!IsPredefinedRoot(root)) {
    return FALSE;
  }
  std::wstring text = value != nullptr ? value : L"";
  RegistryValue stored{REG_SZ, std::vector<BYTE>((text.size() + 1) * sizeof(WCHAR))};
  std::memcpy(stored.data.data(), text.c_str(), stored.data.size());
  ProcessRegistry().Set(MakeName(root, key, name), std::move(stored));
  return TRUE;
}

extern "C" BOOL Win32ProcessDeleteRegistryValue(HKEY root, LPCWSTR key, LPCWSTR name) {
  return ProcessRegistry().Delete(MakeName(root, key, name)) ? TRUE : FALSE;
}

extern "C" void Win32ProcessClearRegistry(void) {
  ProcessRegistry().Clear();
}
