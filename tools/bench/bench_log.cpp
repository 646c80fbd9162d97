#include "tools/bench/bench_log.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <utility>

namespace bench {

long long Nanoseconds(Clock::time_point t) {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}

RunLength ParseRunLength(int argc, char** argv) {
  RunLength length;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--seconds") == 0) length.seconds = std::stoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--runs") == 0) length.runs = std::stoi(argv[i + 1]);
  }
  return length;
}

std::vector<Tick> TicksBetween(const std::string& log, long long from_ns, long long to_ns) {
  std::istringstream lines(log);
  std::vector<Tick> ticks;
  for (std::string line; std::getline(lines, line);) {
    long long number = 0;
    Tick tick{};
    if (std::sscanf(line.c_str(), "bench-tick %lld %lld %lld", &number, &tick.start_ns,
                    &tick.end_ns) != 3)
      continue;
    if (tick.start_ns >= from_ns && tick.end_ns <= to_ns) ticks.push_back(tick);
  }
  return ticks;
}

double TickRate(const std::vector<Tick>& ticks) {
  if (ticks.size() < 2) return 0;
  return static_cast<double>(ticks.size() - 1) * 1e9 /
         static_cast<double>(ticks.back().start_ns - ticks.front().start_ns);
}

double MarkerMs(const std::string& log, const std::string& marker, long long start_ns) {
  const size_t at = log.find(marker);
  if (at == std::string::npos) return -1;
  return static_cast<double>(std::stoll(log.substr(at + marker.size())) - start_ns) / 1e6;
}

std::string Summary(std::vector<double> values, const char* format) {
  std::sort(values.begin(), values.end());
  char median[32], low[32], high[32];
  std::snprintf(median, sizeof median, format, values[values.size() / 2]);
  std::snprintf(low, sizeof low, format, values.front());
  std::snprintf(high, sizeof high, format, values.back());
  return std::string(median) + " (" + low + "–" + high + ")";
}

Series::Series(std::vector<const char*> formats)
    : formats_(std::move(formats)), columns_(formats_.size()) {}

void Series::Add(const std::vector<double>& run) {
  for (size_t column = 0; column < columns_.size(); ++column) {
    columns_[column].push_back(run.at(column));
  }
  ++runs_;
}

std::string Series::Cells() const {
  std::string cells;
  for (size_t column = 0; column < columns_.size(); ++column) {
    cells += "| " + Summary(columns_[column], formats_[column]) + " ";
  }
  return cells + "|";
}

}  // namespace bench
