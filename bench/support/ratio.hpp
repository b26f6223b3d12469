#pragma once

#include <string>

namespace hbd_bench {

// Pairs a measured path with its baseline; after the run every pair whose runs share
// an argument suffix ("/1024") prints subject time / baseline time.
bool register_ratio(std::string subject, std::string baseline);

} // namespace hbd_bench

#define HBD_BENCH_CONCAT_INNER(a, b) a##b
#define HBD_BENCH_CONCAT(a, b) HBD_BENCH_CONCAT_INNER(a, b)
#define HBD_BENCH_RATIO(subject, baseline) \
  [[maybe_unused]] static const bool HBD_BENCH_CONCAT(hbd_bench_ratio_, __LINE__) = \
      hbd_bench::register_ratio(subject, baseline)
