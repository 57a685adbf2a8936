#pragma once

#include <string>
#include <vector>

// Figures from paired samples: each round measures the program and its floor
// side by side, and only their ratio within a round is trusted.
namespace dorvint::bench {

struct Summary {
  double program = 0;    // median of the program's samples
  double floor = 0;      // median of the floor's samples
  double ratio = 0;      // median of the per-round ratios program / floor
  double ratioLow = 0;   // their first quartile
  double ratioHigh = 0;  // their third quartile
  int rounds = 0;
};

// The value at fraction `q` (0 to 1) of `values`, interpolated between
// neighbours; 0 for no values.
double Quantile(std::vector<double> values, double q);

// `program` and `floor` hold one sample per round, in the same order.
Summary Summarise(const std::vector<double>& program, const std::vector<double>& floor);

// One line of the benchmark table.
struct Figure {
  std::string name;
  std::string floorName;
  Summary summary;
  double maxRatio = 0;  // the goal: the ratio at most this; 0 for a figure without goal
  std::string note;     // what was checked, or what went wrong
};

// The figure as one tab-separated line: name, floor, program and floor
// medians in milliseconds, ratio with its quartiles, rounds, goal, whether it
// is met, note.
std::string TsvRow(const Figure& figure);

}  // namespace dorvint::bench
