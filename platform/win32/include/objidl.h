#ifndef PLATFORM_WIN32_INCLUDE_OBJIDL_H_
#define PLATFORM_WIN32_INCLUDE_OBJIDL_H_

// IAgileObject: the marker an object answers to when it may be used from
// any thread and any apartment.

#include "unknwn.h"

struct IAgileObject : public IUnknown {
 protected:
  ~IAgileObject() = default;
};
__CRT_UUID_DECL(IAgileObject,
                0x94ea2b94,
                0xe9cc,
                0x49e0,
                0xc0,
                0xff,
                0xee,
                0x64,
                0xca,
                0x8f,
                0x5b,
                0x90)

#endif  // PLATFORM_WIN32_INCLUDE_OBJIDL_H_
