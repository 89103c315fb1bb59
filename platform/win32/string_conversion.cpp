#include "platform/win32/string_conversion.h"

#include <errhandlingapi.h>
#include <winerror.h>
#include <winnls.h>

#include <climits>
#include <cstring>

namespace win32 {
namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes the scalar value at text[*position] and moves past it. For
// ill-formed input it returns false and moves past the maximal subpart (the
// longest prefix of a well-formed sequence, at least one byte), which the
// caller replaces by one U+FFFD.
bool DecodeUtf8(const unsigned char* text, size_t size, size_t* position, char32_t* value) {
  unsigned char lead = text[(*position)++];
  if (lead < 0x80) {
    *value = lead;
    return true;
  }
  int trail_count;
  char32_t result;
  // The ranges of the second byte exclude overlong forms, UTF-16 surrogates
  // and values above U+10FFFF.
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    trail_count = 1;
    result = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    trail_count = 2;
    result = lead & 0x0F;
    if (lead == 0xE0) {
      low = 0xA0;
    } else if (lead == 0xED) {
      high = 0x9F;
    }
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    trail_count = 3;
    result = lead & 0x07;
    if (lead == 0xF0) {
      low = 0x90;
    } else if (lead == 0xF4) {
      high = 0x8F;
    }
  } else {
    return false;
  }
  for (int i = 0; i < trail_count; ++i) {
    if (*position == size) {
      return false;
    }
    unsigned char trail = text[*position];
    if (trail < low || trail > high) {
      return false;
    }
    low = 0x80;
    high = 0xBF;
    result = (result << 6) | (trail & 0x3F);
    ++*position;
  }
  *value = result;
  return true;
}

// Decodes the scalar value at text[*position] and moves past it; an
// unpaired surrogate, or a wchar_t that is not a UTF-16 unit, is ill-formed
// and takes one unit.
bool DecodeUtf16(const wchar_t* text, size_t size, size_t* position, char32_t* value) {
  uint32_t unit = static_cast<uint32_t>(text[(*position)++]);
  if (unit > 0xFFFF || (unit >= 0xDC00 && unit <= 0xDFFF)) {
    return false;
  }
  if (unit < 0xD800 || unit > 0xDBFF) {
    *value = unit;
    return true;
  }
  if (*position < size) {
    uint32_t next = static_cast<uint32_t>(text[*position]);
    if (next >= 0xDC00 && next <= 0xDFFF) {
      ++*position;
      *value = 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
      return true;
    }
  }
  return false;
}

// Writes the UTF-16 form of value to output when output is not null;
// returns the number of units.
size_t EncodeUtf16(char32_t value, wchar_t* output) {
  if (value < 0x10000) {
    if (output != nullptr) {
      output[0] = static_cast<wchar_t>(value);
    }
    return 1;
  }
  if (output != nullptr) {
    value -= 0x10000;
    output[0] = static_cast<wchar_t>(0xD800 + (value >> 10));
    output[1] = static_cast<wchar_t>(0xDC00 + (value & 0x3FF));
  }
  return 2;
}

size_t EncodeUtf8(char32_t value, char* output) {
  unsigned char bytes[4];
  size_t count;
  if (value < 0x80) {
    bytes[0] = static_cast<unsigned char>(value);
    count = 1;
  } else if (value < 0x800) {
    bytes[0] = static_cast<unsigned char>(0xC0 | (value >> 6));
    bytes[1] = static_cast<unsigned char>(0x80 | (value & 0x3F));
    count = 2;
  } else if (value < 0x10000) {
    bytes[0] = static_cast<unsigned char>(0xE0 | (value >> 12));
    bytes[1] = static_cast<unsigned char>(0x80 | ((value >> 6) & 0x3F));
    bytes[2] = static_cast<unsigned char>(0x80 | (value & 0x3F));
    count = 3;
  } else {
    bytes[0] = static_cast<unsigned char>(0xF0 | (value >> 18));
    bytes[1] = static_cast<unsigned char>(0x80 | ((value >> 12) & 0x3F));
    bytes[2] = static_cast<unsigned char>(0x80 | ((value >> 6) & 0x3F));
    bytes[3] = static_cast<unsigned char>(0x80 | (value & 0x3F));
    count = 4;
  }
  if (output != nullptr) {
    std::memcpy(output, bytes, count);
  }
  return count;
}

// Converts size bytes into output (null: only counts). Returns the number of
// units and whether the input was well-formed.
size_t ConvertUtf8(const char* text, size_t size, wchar_t* output, bool* well_formed) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  size_t position = 0;
  size_t count = 0;
  *well_formed = true;
  while (position < size) {
    char32_t value;
    if (!DecodeUtf8(bytes, size, &position, &value)) {
      *well_formed = false;
      value = kReplacementCharacter;
    }
    count += EncodeUtf16(value, output == nullptr ? nullptr : output + count);
  }
  return count;
}

size_t ConvertUtf16(const wchar_t* text, size_t size, char* output, bool* well_formed) {
  size_t position = 0;
  size_t count = 0;
  *well_formed = true;
  while (position < size) {
    char32_t value;
    if (!DecodeUtf16(text, size, &position, &value)) {
      *well_formed = false;
      value = kReplacementCharacter;
    }
    count += EncodeUtf8(value, output == nullptr ? nullptr : output + count);
  }
  return count;
}

size_t WideLength(const wchar_t* text) {
  size_t length = 0;
  while (text[length] != 0) {
    ++length;
  }
  return length;
}

int Fail(DWORD error) {
  SetLastError(error);
  return 0;
}

}  // namespace

std::wstring Utf8ToWide(std::string_view text) {
  bool well_formed;
  std::wstring result(ConvertUtf8(text.data(), text.size(), nullptr, &well_formed), L'\0');
  ConvertUtf8(text.data(), text.size(), result.data(), &well_formed);
  return result;
}

std::string WideToUtf8(std::wstring_view text) {
  bool well_formed;
  std::string result(ConvertUtf16(text.data(), text.size(), nullptr, &well_formed), '\0');
  ConvertUtf16(text.data(), text.size(), result.data(), &well_formed);
  return result;
}

}  // namespace win32

extern "C" int WINAPI MultiByteToWideChar(UINT code_page,
                                          DWORD flags,
                                          LPCCH bytes,
                                          int byte_count,
                                          LPWSTR wide,
                                          int wide_size) {
  if (bytes == nullptr || byte_count == 0 || byte_count < -1 || wide_size < 0 ||
      (wide_size > 0 && wide == nullptr) ||
      static_cast<const void*>(bytes) == static_cast<const void*>(wide) || code_page != CP_UTF8) {
    return win32::Fail(ERROR_INVALID_PARAMETER);
  }
  if ((flags & ~static_cast<DWORD>(MB_ERR_INVALID_CHARS)) != 0) {
    return win32::Fail(ERROR_INVALID_FLAGS);
  }
  size_t size = byte_count == -1 ? std::strlen(bytes) + 1 : static_cast<size_t>(byte_count);
  bool well_formed;
  size_t needed = win32::ConvertUtf8(bytes, size, nullptr, &well_formed);
  if (!well_formed && (flags & MB_ERR_INVALID_CHARS) != 0) {
    return win32::Fail(ERROR_NO_UNICODE_TRANSLATION);
  }
  if (wide_size == 0) {
    return static_cast<int>(needed);
  }
  if (needed > static_cast<size_t>(wide_size)) {
    return win32::Fail(ERROR_INSUFFICIENT_BUFFER);
  }
  win32::ConvertUtf8(bytes, size, wide, &well_formed);
  return static_cast<int>(needed);
}

extern "C" int WINAPI WideCharToMultiByte(UINT code_page,
                                          DWORD flags,
                                          LPCWCH wide,
                                          int wide_count,
                                          LPSTR bytes,
                                          int byte_size,
                                          LPCCH default_char,
                                          LPBOOL used_default_char) {
  if (wide == nullptr || wide_count == 0 || wide_count < -1 || byte_size < 0 ||
      (byte_size > 0 && bytes == nullptr) ||
      static_cast<const void*>(bytes) == static_cast<const void*>(wide) || code_page != CP_UTF8 ||
      default_char != nullptr || used_default_char != nullptr) {
    return win32::Fail(ERROR_INVALID_PARAMETER);
  }
  if ((flags & ~static_cast<DWORD>(WC_ERR_INVALID_CHARS)) != 0) {
    return win32::Fail(ERROR_INVALID_FLAGS);
  }
  size_t size = wide_count == -1 ? win32::WideLength(wide) + 1 : static_cast<size_t>(wide_count);
  bool well_formed;
  size_t needed = win32::ConvertUtf16(wide, size, nullptr, &well_formed);
  if (!well_formed && (flags & WC_ERR_INVALID_CHARS) != 0) {
    return win32::Fail(ERROR_NO_UNICODE_TRANSLATION);
  }
  // Three bytes per unit can exceed what the int result holds.
  if (needed > static_cast<size_t>(INT_MAX)) {
    return win32::Fail(ERROR_INSUFFICIENT_BUFFER);
  }
  if (byte_size == 0) {
    return static_cast<int>(needed);
  }
  if (needed > static_cast<size_t>(byte_size)) {
    return win32::Fail(ERROR_INSUFFICIENT_BUFFER);
  }
  win32::ConvertUtf16(wide, size, bytes, &well_formed);
  return static_cast<int>(needed);
}
