#include "codec/standard_codec_serializer.h"

#include <bit>
#include <cstring>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "codec/diagnostic.h"

namespace flutter {

// Numbers go on the wire in the host's own byte order.
static_assert(std::endian::native == std::endian::little);

namespace {

enum WireType : uint8_t {
  kNull = 0,
  kTrue = 1,
  kFalse = 2,
  kInt32 = 3,
  kInt64 = 4,
  kLegacyString = 5,
  kDouble = 6,
  kString = 7,
  kByteList = 8,
  kInt32List = 9,
  kInt64List = 10,
  kDoubleList = 11,
  kList = 12,
  kMap = 13,
  kFloat32List = 14,
};

constexpr uint8_t kSize16 = 254;
constexpr uint8_t kSize32 = 255;

// List and map reads active on this thread; bounds the decoder's recursion.
thread_local int nesting_depth = 0;

class NestingScope {
 public:
  NestingScope() { ++nesting_depth; }
  NestingScope(const NestingScope&) = delete;
  NestingScope& operator=(const NestingScope&) = delete;
  ~NestingScope() { --nesting_depth; }
};

// Yields the elements of a packed little-endian array that may sit at any
// address, so a typed list is built with a single copy of its bytes.
template <typename T>
class PackedElementIterator {
 public:
  using iterator_category = std::forward_iterator_tag;
  using value_type = T;
  using difference_type = std::ptrdiff_t;
  using pointer = const T*;
  using reference = T;

  PackedElementIterator() = default;
  explicit PackedElementIterator(const uint8_t* bytes) : bytes_(bytes) {}

  T operator*() const {
    T element;
    std::memcpy(&element, bytes_, sizeof(T));
    return element;
  }
  PackedElementIterator& operator++() {
    bytes_ += sizeof(T);
    return *this;
  }
  PackedElementIterator operator++(int) {
    PackedElementIterator before = *this;
    bytes_ += sizeof(T);
    return before;
  }
  difference_type operator-(const PackedElementIterator& other) const {
    return (bytes_ - other.bytes_) / static_cast<difference_type>(sizeof(T));
  }
  bool operator==(const PackedElementIterator& other) const = default;

 private:
  const uint8_t* bytes_ = nullptr;
};

template <typename T>
void PutNumber(T number, ByteStreamWriter* stream) {
  stream->PutBytes(reinterpret_cast<const uint8_t*>(&number), sizeof(T));
}

template <typename T>
T TakeNumber(ByteStreamReader* stream) {
  T number{};
  stream->TakeBytes(reinterpret_cast<uint8_t*>(&number), sizeof(T));
  return number;
}

// The count the size field carries for `value`, or 0 for kinds without one.
uint64_t SizeFieldOf(const EncodableValue& value) {
  switch (value.Index()) {
    case EncodableValue::kString:
      return value.GetIf<std::string>()->size();
    case EncodableValue::kByteList:
      return value.GetIf<std::vector<uint8_t>>()->size();
    case EncodableValue::kInt32List:
      return value.GetIf<std::vector<int32_t>>()->size();
    case EncodableValue::kInt64List:
      return value.GetIf<std::vector<int64_t>>()->size();
    case EncodableValue::kDoubleList:
      return value.GetIf<std::vector<double>>()->size();
    case EncodableValue::kList:
      return value.GetIf<ValueList>()->size();
    case EncodableValue::kMap:
      return value.GetIf<ValueMap>()->size();
    case EncodableValue::kFloat32List:
      return value.GetIf<std::vector<float>>()->size();
    default:
      return 0;
  }
}

}  // namespace

StandardCodecSerializer::StandardCodecSerializer() = default;

StandardCodecSerializer::~StandardCodecSerializer() = default;

template <typename T>
void StandardCodecSerializer::WriteTypedList(const std::vector<T>& list, ByteStreamWriter* stream) {
  WriteSize(list.size(), stream);
  // Padded even when empty: the reader skips to the element alignment after
  // every typed-list size, and would otherwise eat the next value's bytes.
  stream->PadToAlignment(sizeof(T));
  if (!list.empty()) {
    stream->PutBytes(reinterpret_cast<const uint8_t*>(list.data()), list.size() * sizeof(T));
  }
}

template <typename T>
std::vector<T> StandardCodecSerializer::ReadTypedList(ByteStreamReader* stream) {
  uint32_t count = ReadSize(stream);
  stream->SkipToAlignment(sizeof(T));
  const uint8_t* bytes = nullptr;
  if (!stream->TakeView(uint64_t{count} * sizeof(T), &bytes)) {
    return {};
  }
  return std::vector<T>(PackedElementIterator<T>(bytes),
                        PackedElementIterator<T>(bytes + size_t{count} * sizeof(T)));
}

void StandardCodecSerializer::WriteValue(const EncodableValue& value,
                                         ByteStreamWriter* stream) const {
  // A wrapped size would desynchronise the reader for the rest of the message.
  if (uint64_t size = SizeFieldOf(value); size > kMaxSize) {
    WriteDiagnosticLine(std::string(kTooLargeDiagnostic) + std::to_string(size));
    stream->PutByte(kNull);
    return;
  }
  switch (value.Index()) {
    case EncodableValue::kNull:
      stream->PutByte(kNull);
      break;
    case EncodableValue::kBool:
      stream->PutByte(*value.GetIf<bool>() ? kTrue : kFalse);
      break;
    case EncodableValue::kInt32:
      stream->PutByte(kInt32);
      PutNumber(*value.GetIf<int32_t>(), stream);
      break;
    case EncodableValue::kInt64:
      stream->PutByte(kInt64);
      PutNumber(*value.GetIf<int64_t>(), stream);
      break;
    case EncodableValue::kDouble:
      stream->PutByte(kDouble);
      stream->PadToAlignment(8);
      PutNumber(*value.GetIf<double>(), stream);
      break;
    case EncodableValue::kString: {
      const std::string& text = *value.GetIf<std::string>();
      stream->PutByte(kString);
      WriteSize(text.size(), stream);
      stream->PutBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
      break;
    }
    case EncodableValue::kByteList: {
      const std::vector<uint8_t>& bytes = *value.GetIf<std::vector<uint8_t>>();
      stream->PutByte(kByteList);
      WriteSize(bytes.size(), stream);
      stream->PutBytes(bytes.data(), bytes.size());
      break;
    }
    case EncodableValue::kInt32List:
      stream->PutByte(kInt32List);
      WriteTypedList(*value.GetIf<std::vector<int32_t>>(), stream);
      break;
    case EncodableValue::kInt64List:
      stream->PutByte(kInt64List);
      WriteTypedList(*value.GetIf<std::vector<int64_t>>(), stream);
      break;
    case EncodableValue::kDoubleList:
      stream->PutByte(kDoubleList);
      WriteTypedList(*value.GetIf<std::vector<double>>(), stream);
      break;
    case EncodableValue::kFloat32List:
      stream->PutByte(kFloat32List);
      WriteTypedList(*value.GetIf<std::vector<float>>(), stream);
      break;
    case EncodableValue::kList: {
      const ValueList& list = *value.GetIf<ValueList>();
      stream->PutByte(kList);
      WriteSize(list.size(), stream);
      for (const EncodableValue& element : list) {
        WriteValue(element, stream);
      }
      break;
    }
    case EncodableValue::kMap: {
      const ValueMap& map = *value.GetIf<ValueMap>();
      stream->PutByte(kMap);
      WriteSize(map.size(), stream);
      for (const auto& [key, entry] : map) {
        WriteValue(key, stream);
        WriteValue(entry, stream);
      }
      break;
    }
    case EncodableValue::kCustom:
      // The receiver reads a null in its place.
      stream->PutByte(kNull);
      WriteDiagnosticLine(kCustomTypeDiagnostic);
      break;
  }
}

EncodableValue StandardCodecSerializer::ReadValueOfType(uint8_t type,
                                                        ByteStreamReader* stream) const {
  switch (type) {
    case kNull:
      return EncodableValue();
    case kTrue:
      return EncodableValue(true);
    case kFalse:
      return EncodableValue(false);
    case kInt32:
      return EncodableValue(TakeNumber<int32_t>(stream));
    case kInt64:
      return EncodableValue(TakeNumber<int64_t>(stream));
    case kDouble:
      stream->SkipToAlignment(8);
      return EncodableValue(TakeNumber<double>(stream));
    case kLegacyString:
    case kString: {
      uint32_t size = ReadSize(stream);
      const uint8_t* bytes = nullptr;
      if (!stream->TakeView(size, &bytes)) {
        return EncodableValue(std::string());
      }
      return EncodableValue(std::string(reinterpret_cast<const char*>(bytes), size));
    }
    case kByteList: {
      uint32_t size = ReadSize(stream);
      const uint8_t* bytes = nullptr;
      if (!stream->TakeView(size, &bytes)) {
        return EncodableValue(std::vector<uint8_t>());
      }
      return EncodableValue(std::vector<uint8_t>(bytes, bytes + size));
    }
    case kInt32List:
      return EncodableValue(ReadTypedList<int32_t>(stream));
    case kInt64List:
      return EncodableValue(ReadTypedList<int64_t>(stream));
    case kDoubleList:
      return EncodableValue(ReadTypedList<double>(stream));
    case kFloat32List:
      return EncodableValue(ReadTypedList<float>(stream));
    case kList:
    case kMap:
      break;
    default:
      WriteDiagnosticLine(std::string(kUnknownTypeDiagnostic) + std::to_string(type));
      return EncodableValue();
  }

  // Lists and maps recurse; the depth bound keeps any input off the end of
  // the stack, here and wherever the decoded value is copied or destroyed.
  if (nesting_depth >= kMaxNestingDepth) {
    WriteDiagnosticLine(kTooDeepDiagnostic);
    stream->SkipToEnd();
    return EncodableValue();
  }
  NestingScope scope;
  uint32_t count = ReadSize(stream);
  if (type == kList) {
    // Every element takes at least its type byte. The list grows as elements
    // arrive rather than reserving the declared count, so memory follows the
    // bytes actually decoded even when lists nest.
    ValueList list;
    if (stream->Require(count)) {
      for (uint32_t i = 0; i < count; ++i) {
        list.push_back(ReadValue(stream));
      }
    }
    return EncodableValue(std::move(list));
  }
  // Every entry takes at least a key and a value type byte.
  ValueMap map;
  if (stream->Require(uint64_t{count} * 2)) {
    for (uint32_t i = 0; i < count; ++i) {
      EncodableValue key = ReadValue(stream);
      EncodableValue entry = ReadValue(stream);
      // The first occurrence of a key wins.
      map.try_emplace(std::move(key), std::move(entry));
    }
  }
  return EncodableValue(std::move(map));
}

EncodableValue StandardCodecSerializer::ReadValue(ByteStreamReader* stream) const {
  uint8_t type = stream->TakeByte();
  return ReadValueOfType(type, stream);
}

void StandardCodecSerializer::WriteSize(uint64_t size, ByteStreamWriter* stream) {
  if (size < kSize16) {
    stream->PutByte(static_cast<uint8_t>(size));
  } else if (size <= 0xFFFF) {
    stream->PutByte(kSize16);
    PutNumber(static_cast<uint16_t>(size), stream);
  } else {
    stream->PutByte(kSize32);
    PutNumber(static_cast<uint32_t>(size), stream);
  }
}

uint32_t StandardCodecSerializer::ReadSize(ByteStreamReader* stream) {
  uint8_t first = stream->TakeByte();
  if (first < kSize16) {
    return first;
  }
  if (first == kSize16) {
    return TakeNumber<uint16_t>(stream);
  }
  return TakeNumber<uint32_t>(stream);
}

const StandardCodecSerializer& SharedSerializer() {
  static const StandardCodecSerializer* const serializer = new StandardCodecSerializer();
  return *serializer;
}

}  // namespace flutter
