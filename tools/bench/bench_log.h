// What the bench reads from its command line and from a program's bench
// lines on standard error, and how it prints a series of runs.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

long long Nanoseconds(Clock::time_point t);

// --seconds N (of the steady state) and --runs N.
struct RunLength {
  int seconds = 20;
  int runs = 3;
};
RunLength ParseRunLength(int argc, char** argv);

struct Tick {
  long long start_ns;
  long long end_ns;
};

// The ticks that began and ended inside the span.
std::vector<Tick> TicksBetween(const std::string& log, long long from_ns, long long to_ns);
double TickRate(const std::vector<Tick>& ticks);
// Milliseconds from the start to the first line with the marker; -1 for none.
double MarkerMs(const std::string& log, const std::string& marker, long long start_ns);
// "median (lowest–highest)" of the values, each in the printf format.
std::string Summary(std::vector<double> values, const char* format);

// One program's row of a table of runs: each column's values over the runs,
// printed as their Summary in the column's printf format.
class Series {
 public:
  explicit Series(std::vector<const char*> formats);
  // One run: a value for each column, in order.
  void Add(const std::vector<double>& run);
  bool Empty() const { return runs_ == 0; }
  // "| first | second … |", one cell a column.
  std::string Cells() const;

 private:
  std::vector<const char*> formats_;
  std::vector<std::vector<double>> columns_;
  int runs_ = 0;
};

}  // namespace bench
