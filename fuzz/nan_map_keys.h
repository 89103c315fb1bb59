#ifndef FUZZ_NAN_MAP_KEYS_H_
#define FUZZ_NAN_MAP_KEYS_H_

#include "codec/encodable_value.h"

namespace norvalis_fuzz {

// Whether some map inside `value` has a key that holds a NaN anywhere within
// it. The key ordering treats a NaN as equivalent to every number, which is
// not a strict weak ordering once lists hold NaNs: such a map can come out of
// decoding with keys that the same map, rebuilt from its own encoding, drops.
// Round-trip checks pass over these values until the ordering is fixed.
bool HasNanInMapKey(const flutter::EncodableValue& value);

}  // namespace norvalis_fuzz

#endif  // FUZZ_NAN_MAP_KEYS_H_
