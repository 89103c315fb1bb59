// Throughput of the standard codec on bulk payloads, each beside a memcpy of
// the same number of bytes so that the ratios read straight off one run, and
// the latency of one "recognize" call as the OCR channel handles it.
//
// Both sides allocate their destination afresh in every iteration: the codec
// encodes into a new std::vector (as the method codec does for every message)
// and decodes into a new value, and memcpy copies into a new uninitialised
// buffer of the same size.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "codec/byte_buffer_stream_reader.h"
#include "codec/byte_buffer_stream_writer.h"
#include "codec/encodable_value.h"
#include "codec/standard_codec_serializer.h"
#include "codec/standard_method_codec.h"
#include "engine_bridge/method_call.h"

namespace flutter {
namespace {

constexpr size_t kByteListSize = size_t{16} * 1024 * 1024;
constexpr size_t kDoubleListSize = size_t{4} * 1024 * 1024;
constexpr int kMapCount = 100'000;

// One value, built once per process, and its encoding.
struct Sample {
  EncodableValue value;
  std::vector<uint8_t> message;
};

std::vector<uint8_t> Encode(const EncodableValue& value) {
  std::vector<uint8_t> message;
  ByteBufferStreamWriter writer(&message);
  SharedSerializer().WriteValue(value, &writer);
  return message;
}

const Sample* NewSample(EncodableValue value) {
  std::vector<uint8_t> message = Encode(value);
  return new Sample{std::move(value), std::move(message)};
}

const Sample& ByteList() {
  static const Sample* const sample = [] {
    std::vector<uint8_t> bytes(kByteListSize);
    for (size_t i = 0; i < bytes.size(); ++i) {
      bytes[i] = static_cast<uint8_t>(i * 131 + 7);
    }
    return NewSample(EncodableValue(std::move(bytes)));
  }();
  return *sample;
}

const Sample& DoubleList() {
  static const Sample* const sample = [] {
    std::vector<double> numbers(kDoubleListSize);
    for (size_t i = 0; i < numbers.size(); ++i) {
      numbers[i] = static_cast<double>(i) * 0.25 - 1000.0;
    }
    return NewSample(EncodableValue(std::move(numbers)));
  }();
  return *sample;
}

// Records of the kind a photo library sends: a few short named fields each.
const Sample& MapList() {
  static const Sample* const sample = [] {
    ValueList records;
    records.reserve(kMapCount);
    for (int i = 0; i < kMapCount; ++i) {
      records.push_back(EncodableValue(ValueMap{
          {EncodableValue("name"), EncodableValue("IMG_" + std::to_string(10'000 + i) + ".png")},
          {EncodableValue("width"), EncodableValue(int32_t{4032 - i % 7})},
          {EncodableValue("bytes"), EncodableValue(int64_t{5'000'000'000} + i)},
          {EncodableValue("score"), EncodableValue(i / 3.0)},
          {EncodableValue("starred"), EncodableValue(i % 5 == 0)},
      }));
    }
    return NewSample(EncodableValue(std::move(records)));
  }();
  return *sample;
}

bool SameValue(const EncodableValue& a, const EncodableValue& b) {
  return !(a < b) && !(b < a);
}

void SetBytesProcessed(benchmark::State& state, size_t bytes_per_iteration) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(bytes_per_iteration));
}

void Memcpy(benchmark::State& state, const Sample& (*sample_of)()) {
  const std::vector<uint8_t>& source = sample_of().message;
  for (auto _ : state) {
    std::unique_ptr<uint8_t[]> copy = std::make_unique_for_overwrite<uint8_t[]>(source.size());
    std::memcpy(copy.get(), source.data(), source.size());
    benchmark::DoNotOptimize(copy.get());
    benchmark::ClobberMemory();
  }
  SetBytesProcessed(state, source.size());
}

void Encode(benchmark::State& state, const Sample& (*sample_of)()) {
  const Sample& sample = sample_of();
  for (auto _ : state) {
    std::vector<uint8_t> message;
    ByteBufferStreamWriter writer(&message);
    SharedSerializer().WriteValue(sample.value, &writer);
    benchmark::DoNotOptimize(message.data());
    benchmark::ClobberMemory();
  }
  SetBytesProcessed(state, sample.message.size());
}

void Decode(benchmark::State& state, const Sample& (*sample_of)()) {
  const Sample& sample = sample_of();
  ByteBufferStreamReader check(sample.message.data(), sample.message.size());
  if (!SameValue(SharedSerializer().ReadValue(&check), sample.value) ||
      check.position() != sample.message.size()) {
    state.SkipWithError("decoding does not give the encoded value back");
    return;
  }
  for (auto _ : state) {
    ByteBufferStreamReader reader(sample.message.data(), sample.message.size());
    EncodableValue value = SharedSerializer().ReadValue(&reader);
    benchmark::DoNotOptimize(value);
  }
  SetBytesProcessed(state, sample.message.size());
}

BENCHMARK_CAPTURE(Memcpy, ByteList16MiB, ByteList)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Encode, ByteList16MiB, ByteList)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Decode, ByteList16MiB, ByteList)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Memcpy, DoubleList4Mi, DoubleList)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Encode, DoubleList4Mi, DoubleList)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Decode, DoubleList4Mi, DoubleList)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Memcpy, MapList100k, MapList)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Encode, MapList100k, MapList)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Decode, MapList100k, MapList)->Unit(benchmark::kMicrosecond);

// ParseMethodCall of the call the application sends, then the success reply
// the OCR handler answers with.
void RecognizeRoundTrip(benchmark::State& state) {
  const StandardMethodCodec& codec = CodecForSerializer(nullptr);
  MethodCall<EncodableValue> call(
      "recognize", std::make_unique<EncodableValue>(
                       ValueMap{{EncodableValue("path"), EncodableValue("/some/path.png")}}));
  std::unique_ptr<std::vector<uint8_t>> message = codec.SerializeMethodCall(call);
  const EncodableValue text("Facture 2024-117\nTotal : 18,50 \u20ac");

  std::unique_ptr<MethodCall<EncodableValue>> parsed =
      codec.ParseMethodCall(message->data(), message->size());
  if (parsed == nullptr || parsed->method() != "recognize" ||
      !SameValue(*parsed->args(), *call.args())) {
    state.SkipWithError("the recognize call does not parse back");
    return;
  }
  for (auto _ : state) {
    std::unique_ptr<MethodCall<EncodableValue>> received =
        codec.ParseMethodCall(message->data(), message->size());
    std::unique_ptr<std::vector<uint8_t>> reply = codec.SerializeSuccessReply(&text);
    benchmark::DoNotOptimize(received.get());
    benchmark::DoNotOptimize(reply->data());
  }
}

BENCHMARK(RecognizeRoundTrip)->Unit(benchmark::kNanosecond);

}  // namespace
}  // namespace flutter

BENCHMARK_MAIN();
