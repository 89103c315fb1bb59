#ifndef PLATFORM_WIN32_INCLUDE_GUIDDEF_H_
#define PLATFORM_WIN32_INCLUDE_GUIDDEF_H_

// GUIDs and interface identifiers, with the compilers' __uuidof where the
// compiler has none: each interface's identifier is declared once, beside the
// interface, with __CRT_UUID_DECL, and __uuidof(Interface) finds it.

#include <string.h>

#include "windef.h"

typedef struct _GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
} GUID;

typedef GUID IID;
typedef GUID CLSID;
typedef const GUID& REFGUID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;

inline bool IsEqualGUID(REFGUID a, REFGUID b) {
  return memcmp(&a, &b, sizeof(GUID)) == 0;
}
#define IsEqualIID(a, b) IsEqualGUID(a, b)

inline bool operator==(REFGUID a, REFGUID b) {
  return IsEqualGUID(a, b);
}

// Defined only for the types that __CRT_UUID_DECL names: __uuidof of any
// other type does not link.
template <typename T>
const GUID& WindowsUuidOf();

#define __CRT_UUID_DECL(type, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8)         \
  template <>                                                                    \
  inline const GUID& WindowsUuidOf<type>() {                                     \
    static constexpr GUID kUuid = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}}; \
    return kUuid;                                                                \
  }

#define __uuidof(type) WindowsUuidOf<__typeof__(type)>()

#endif  // PLATFORM_WIN32_INCLUDE_GUIDDEF_H_
