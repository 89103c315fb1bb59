#include <errhandlingapi.h>
#include <winbase.h>
#include <winerror.h>
#include <winnls.h>

#include <cstring>
#include <cwchar>

namespace {

struct SystemMessage {
  DWORD id;
  const wchar_t* text;
};

// The English system message of every code in winerror.h, as Windows writes
// it. HRESULTs of FACILITY_WIN32 take the text of their Win32 code.
constexpr SystemMessage kSystemMessages[] = {
    {ERROR_SUCCESS, L"The operation completed successfully.\r\n"},
    {ERROR_FILE_NOT_FOUND, L"The system cannot find the file specified.\r\n"},
    {ERROR_PATH_NOT_FOUND, L"The system cannot find the path specified.\r\n"},
    {ERROR_ACCESS_DENIED, L"Access is denied.\r\n"},
    {ERROR_INVALID_HANDLE, L"The handle is invalid.\r\n"},
    {ERROR_NOT_ENOUGH_MEMORY,
     L"Not enough memory resources are available to process this command.\r\n"},
    {ERROR_OUTOFMEMORY,
     L"Not enough memory resources are available to complete this operation.\r\n"},
    {ERROR_READ_FAULT, L"The system cannot read from the specified device.\r\n"},
    {ERROR_GEN_FAILURE, L"A device attached to the system is not functioning.\r\n"},
    {ERROR_NOT_SUPPORTED, L"The request is not supported.\r\n"},
    {ERROR_INVALID_PARAMETER, L"The parameter is incorrect.\r\n"},
    {ERROR_INSUFFICIENT_BUFFER, L"The data area passed to a system call is too small.\r\n"},
    {ERROR_MOD_NOT_FOUND, L"The specified module could not be found.\r\n"},
    {ERROR_PROC_NOT_FOUND, L"The specified procedure could not be found.\r\n"},
    {ERROR_ALREADY_EXISTS, L"Cannot create a file when that file already exists.\r\n"},
    {ERROR_MORE_DATA, L"More data is available.\r\n"},
    {ERROR_NOT_OWNER, L"Attempt to release mutex not owned by caller.\r\n"},
    {WAIT_TIMEOUT, L"The wait operation timed out.\r\n"},
    {ERROR_MR_MID_NOT_FOUND,
     L"The system cannot find message text for message number 0x%1 in the message file for "
     L"%2.\r\n"},
    {ERROR_INVALID_FLAGS, L"Invalid flags.\r\n"},
    {ERROR_NO_UNICODE_TRANSLATION,
     L"No mapping for the Unicode character exists in the target multi-byte code page.\r\n"},
    {ERROR_MESSAGE_SYNC_ONLY, L"The message can be used only with synchronous operations.\r\n"},
    {ERROR_ACCESS_DISABLED_BY_POLICY,
     L"This program is blocked by group policy. For more information, contact your system "
     L"administrator.\r\n"},
    {ERROR_INVALID_WINDOW_HANDLE, L"Invalid window handle.\r\n"},
    {ERROR_TLW_WITH_WSCHILD, L"Cannot create a top-level child window.\r\n"},
    {ERROR_CANNOT_FIND_WND_CLASS, L"Cannot find window class.\r\n"},
    {ERROR_WINDOW_OF_OTHER_THREAD, L"Invalid window; it belongs to other thread.\r\n"},
    {ERROR_CLASS_ALREADY_EXISTS, L"Class already exists.\r\n"},
    {ERROR_CLASS_DOES_NOT_EXIST, L"Class does not exist.\r\n"},
    {ERROR_CLASS_HAS_WINDOWS, L"Class still has open windows.\r\n"},
    {ERROR_INVALID_INDEX, L"Invalid index.\r\n"},
    {ERROR_INVALID_THREAD_ID, L"Invalid thread identifier.\r\n"},
    {ERROR_INVALID_SHOWWIN_COMMAND, L"Invalid ShowWindow command.\r\n"},
    {ERROR_INVALID_MONITOR_HANDLE, L"Invalid monitor handle.\r\n"},
    {ERROR_TIMEOUT, L"This operation returned because the timeout period expired.\r\n"},
    {ERROR_UNSUPPORTED_TYPE, L"Data of this type is not supported.\r\n"},
    {ERROR_RESOURCE_NAME_NOT_FOUND,
     L"The specified resource name cannot be found in the image file.\r\n"},
    {ERROR_RESOURCE_LANG_NOT_FOUND,
     L"The specified resource language ID cannot be found in the image file.\r\n"},
    {ERROR_NOT_ENOUGH_QUOTA, L"Not enough quota is available to process this command.\r\n"},
    {ERROR_CANCELLED, L"The operation was canceled by the user.\r\n"},
    {static_cast<DWORD>(RPC_E_CHANGED_MODE), L"Cannot change thread mode after it is set.\r\n"},
    {static_cast<DWORD>(E_NOTIMPL), L"Not implemented\r\n"},
    {static_cast<DWORD>(E_NOINTERFACE), L"No such interface supported\r\n"},
    {static_cast<DWORD>(E_POINTER), L"Invalid pointer\r\n"},
    {static_cast<DWORD>(E_FAIL), L"Unspecified error\r\n"},
    {static_cast<DWORD>(E_UNEXPECTED), L"Catastrophic failure\r\n"},
    {static_cast<DWORD>(E_ILLEGAL_STATE_CHANGE), L"An illegal state change was requested.\r\n"},
    {static_cast<DWORD>(E_ILLEGAL_METHOD_CALL), L"A method was called at an unexpected time.\r\n"},
    {static_cast<DWORD>(REGDB_E_CLASSNOTREG), L"Class not registered\r\n"},
    {static_cast<DWORD>(WINCODEC_ERR_COMPONENTNOTFOUND), L"The component cannot be found.\r\n"},
    {static_cast<DWORD>(WINCODEC_ERR_IMAGESIZEOUTOFRANGE),
     L"The bitmap size is outside the valid range.\r\n"},
    {static_cast<DWORD>(WINCODEC_ERR_BADIMAGE), L"The image is unrecognized.\r\n"},
    {static_cast<DWORD>(WINCODEC_ERR_BADHEADER), L"The image header is unrecognized.\r\n"},
    {static_cast<DWORD>(WINCODEC_ERR_STREAMREAD), L"Failed to read from the stream.\r\n"},
};

constexpr DWORD kWin32FacilityMask = 0xFFFF0000;
constexpr DWORD kWin32Facility = 0x80070000;

const wchar_t* FindSystemMessage(DWORD id) {
  for (const SystemMessage& message : kSystemMessages) {
    if (message.id == id) {
      return message.text;
    }
  }
  if ((id & kWin32FacilityMask) == kWin32Facility) {
    return FindSystemMessage(id & 0xFFFF);
  }
  return nullptr;
}

// The system messages exist in English only, which every neutral or default
// language choice selects.
bool IsEnglishOrDefault(DWORD language_id) {
  return language_id == 0 || language_id == MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT) ||
         language_id == MAKELANGID(LANG_NEUTRAL, SUBLANG_SYS_DEFAULT) ||
         language_id == MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

// Whether text holds an insert (%1 to %99) that only arguments could fill.
bool HasInserts(const wchar_t* text) {
  for (; *text != 0; ++text) {
    if (text[0] == L'%' && text[1] >= L'1' && text[1] <= L'9') {
      return true;
    }
  }
  return false;
}

DWORD Fail(DWORD error) {
  SetLastError(error);
  return 0;
}

}  // namespace

extern "C" DWORD WINAPI FormatMessageW(DWORD flags,
                                       LPCVOID,
                                       DWORD message_id,
                                       DWORD language_id,
                                       LPWSTR buffer,
                                       DWORD size,
                                       va_list*) {
  if ((flags & FORMAT_MESSAGE_FROM_SYSTEM) == 0 || (flags & FORMAT_MESSAGE_FROM_STRING) != 0 ||
      (flags & FORMAT_MESSAGE_MAX_WIDTH_MASK) != 0 || buffer == nullptr) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  const wchar_t* text = FindSystemMessage(message_id);
  if (text == nullptr) {
    return Fail(ERROR_MR_MID_NOT_FOUND);
  }
  if (!IsEnglishOrDefault(language_id)) {
    return Fail(ERROR_RESOURCE_LANG_NOT_FOUND);
  }
  if ((flags & FORMAT_MESSAGE_IGNORE_INSERTS) == 0 && HasInserts(text)) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  size_t length = std::wcslen(text);
  if ((flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) != 0) {
    // buffer is then the slot that receives the allocated text; size is a
    // minimum, in characters.
    size_t characters = length + 1 > size ? length + 1 : size;
    auto* allocated = static_cast<LPWSTR>(LocalAlloc(LMEM_FIXED, characters * sizeof(WCHAR)));
    if (allocated == nullptr) {
      return 0;
    }
    std::memcpy(allocated, text, (length + 1) * sizeof(WCHAR));
    *reinterpret_cast<LPWSTR*>(buffer) = allocated;
    return static_cast<DWORD>(length);
  }
  if (length + 1 > size) {
    return Fail(ERROR_INSUFFICIENT_BUFFER);
  }
  std::memcpy(buffer, text, (length + 1) * sizeof(WCHAR));
  return static_cast<DWORD>(length);
}
