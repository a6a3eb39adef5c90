// Writing a wireless.cfg (cipher and checksum over 2048 bytes) beside the cheapest pass one can
// make over the same bytes: a plain sum. The cipher should cost at most about twice that.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <numeric>

#include "config/codec.h"
#include "config/record.h"

namespace {

ostrova::ConfigRecord SampleRecord() {
    ostrova::ConfigRecord r;
    auto bytes = r.bytes();
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 31 + 7);
    return r;
}

void BM_EncodeCfgForm(benchmark::State& state) {
    const ostrova::ConfigRecord record = SampleRecord();
    for (auto _ : state) {
        auto file = ostrova::EncodeCfgForm(record);
        benchmark::DoNotOptimize(file.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 2048);
}
BENCHMARK(BM_EncodeCfgForm);

void BM_ByteSum(benchmark::State& state) {
    const ostrova::ConfigRecord record = SampleRecord();
    const auto bytes = record.bytes();
    for (auto _ : state) {
        benchmark::DoNotOptimize(bytes.data());
        unsigned sum = 0;
        for (std::uint8_t b : bytes) sum += b;
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 2048);
}
BENCHMARK(BM_ByteSum);

}  // namespace

BENCHMARK_MAIN();
