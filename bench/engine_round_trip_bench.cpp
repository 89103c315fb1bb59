// A method call from the application to a host channel handler and its reply
// back, through the stand-in engine's thread hops and the engine bridge, on a
// call of about 100 bytes and on a 1 MiB byte list, beside copying 1 MiB three
// times. The application thread times each round trip itself (manual time).

#include <benchmark/benchmark.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "codec/standard_method_codec.h"
#include "engine_bridge/flutter_view_controller.h"
#include "engine_bridge/method_channel.h"
#include "shell/project_bundle.h"

namespace {

constexpr size_t kMebibyte = size_t{1} << 20;

// The engine, its application and the echo channel, started once.
class RoundTripHost {
 public:
  RoundTripHost() {
    const std::string directory = NORVALIS_BENCH_DATA_DIR;
    controller_ = std::make_unique<flutter::FlutterViewController>(
        64, 64, ProjectBundle(std::wstring(directory.begin(), directory.end())));
    if (controller_->GetView() == nullptr) {
      return;
    }
    channel_ = std::make_unique<flutter::MethodChannel<>>(
        controller_->GetEngine()->GetBinaryMessenger(), "bench/echo",
        &flutter::CodecForSerializer(nullptr));
    channel_->SetCallHandler(
        [](const flutter::MethodCall<>& call, std::unique_ptr<flutter::MethodResult<>> result) {
          result->Success(*call.args());
        });
  }

  bool running() const { return channel_ != nullptr; }

  // One round trip of the given kind; its duration as the application timed
  // it, or nothing when the application did not answer.
  std::optional<double> RoundTripSeconds(uint8_t kind) {
    struct Outcome {
      bool done = false;
      std::optional<double> seconds;
    } outcome;
    controller_->GetEngine()->GetBinaryMessenger()->SendToChannel(
        "bench/control", &kind, 1, [&outcome](const uint8_t* reply, size_t size) {
          outcome.done = true;
          int64_t nanoseconds = 0;
          if (reply != nullptr && size == sizeof(nanoseconds)) {
            std::memcpy(&nanoseconds, reply, sizeof(nanoseconds));
            outcome.seconds = static_cast<double>(nanoseconds) * 1e-9;
          }
        });
    MSG message = {};
    while (!outcome.done && GetMessageW(&message, nullptr, 0, 0) > 0) {
      DispatchMessageW(&message);
    }
    return outcome.seconds;
  }

 private:
  std::unique_ptr<flutter::FlutterViewController> controller_;
  std::unique_ptr<flutter::MethodChannel<>> channel_;
};

RoundTripHost& Host() {
  static RoundTripHost* host = new RoundTripHost();
  return *host;
}

void RunRoundTrips(benchmark::State& state, uint8_t kind) {
  RoundTripHost& host = Host();
  if (!host.running()) {
    state.SkipWithError("the engine did not start");
    return;
  }
  for (auto _ : state) {
    const std::optional<double> seconds = host.RoundTripSeconds(kind);
    if (!seconds.has_value()) {
      state.SkipWithError("the application did not answer");
      return;
    }
    state.SetIterationTime(*seconds);
  }
}

void BM_RoundTripSmallCall(benchmark::State& state) {
  RunRoundTrips(state, 0);
}
BENCHMARK(BM_RoundTripSmallCall)->UseManualTime()->Repetitions(5)->ReportAggregatesOnly(true);

void BM_RoundTrip1MiBByteList(benchmark::State& state) {
  RunRoundTrips(state, 1);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kMebibyte));
}
BENCHMARK(BM_RoundTrip1MiBByteList)->UseManualTime()->Repetitions(5)->ReportAggregatesOnly(true);

// The yardstick for the 1 MiB round trip: three copies into fresh buffers.
void BM_Copy1MiBThreeTimes(benchmark::State& state) {
  const std::vector<uint8_t> source(kMebibyte, 0x5A);
  for (auto _ : state) {
    for (int copy = 0; copy < 3; ++copy) {
      std::unique_ptr<uint8_t[]> destination(new uint8_t[kMebibyte]);
      std::memcpy(destination.get(), source.data(), kMebibyte);
      benchmark::DoNotOptimize(destination.get());
      benchmark::ClobberMemory();
    }
  }
}
BENCHMARK(BM_Copy1MiBThreeTimes)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
