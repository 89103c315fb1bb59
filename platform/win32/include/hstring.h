#ifndef PLATFORM_WIN32_INCLUDE_HSTRING_H_
#define PLATFORM_WIN32_INCLUDE_HSTRING_H_

// HSTRING: the Windows Runtime's immutable, reference-counted UTF-16 string.
// Null is the empty string.

struct HSTRING__;
typedef struct HSTRING__* HSTRING;

// A string whose memory its creator provides and keeps alive
// (WindowsCreateStringReference); it is never freed.
typedef struct HSTRING_HEADER {
  union {
    void* Reserved1;
    char Reserved2[24];
  } Reserved;
} HSTRING_HEADER;

#endif  // PLATFORM_WIN32_INCLUDE_HSTRING_H_
