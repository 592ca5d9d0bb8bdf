//===- bench/BenchData.h - inputs shared by the benchmark programs --------===//
#ifndef ZQ_BENCH_BENCHDATA_H
#define ZQ_BENCH_BENCHDATA_H

#include <algorithm>
#include <random>
#include <vector>

namespace zqbench {

/// count ints of 1 to 10 digits, signs mixed, from a fixed seed: number
/// writers see varied digit counts rather than one the branch predictor
/// learns.
inline std::vector<int> MakeVariedInts(unsigned seed, int count) {
  std::mt19937 random(seed);
  std::vector<int> v(static_cast<std::size_t>(count));
  for (int& x : v) {
    const int digits = static_cast<int>(random() % 10);
    long long magnitude = random() % 10;
    for (int d = 0; d < digits; ++d)
      magnitude = magnitude * 10 + random() % 10;
    x = static_cast<int>(std::min<long long>(magnitude, 2147483647) * (random() % 2 ? -1 : 1));
  }
  return v;
}

}  // namespace zqbench

#endif  // ZQ_BENCH_BENCHDATA_H
