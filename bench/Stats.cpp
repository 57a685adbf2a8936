#include "Stats.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>

namespace dorvint::bench {
namespace {

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

}  // namespace

double Quantile(std::vector<double> values, double q) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const double position = q * static_cast<double>(values.size() - 1);
  const auto below = static_cast<std::size_t>(std::floor(position));
  const std::size_t above = std::min(below + 1, values.size() - 1);
  const double weight = position - static_cast<double>(below);
  return values[below] + (values[above] - values[below]) * weight;
}

Summary Summarise(const std::vector<double>& program, const std::vector<double>& floor) {
  const std::size_t rounds = std::min(program.size(), floor.size());
  std::vector<double> ratios;
  for (std::size_t i = 0; i < rounds; ++i) {
    if (floor[i] > 0) ratios.push_back(program[i] / floor[i]);
  }
  return {Quantile(program, 0.5), Quantile(floor, 0.5),   Quantile(ratios, 0.5),
          Quantile(ratios, 0.25), Quantile(ratios, 0.75), static_cast<int>(rounds)};
}

std::string TsvRow(const Figure& figure) {
  const Summary& s = figure.summary;
  const bool hasGoal = figure.maxRatio > 0;
  const std::string met = !hasGoal                                     ? "-"
                          : s.rounds > 0 && s.ratio <= figure.maxRatio ? "yes"
                                                                       : "no";
  return figure.name + '\t' + figure.floorName + '\t' + Fixed(s.program, 3) + " ms\t" +
         Fixed(s.floor, 3) + " ms\t" + Fixed(s.ratio, 3) + '\t' + Fixed(s.ratioLow, 3) + " - " +
         Fixed(s.ratioHigh, 3) + '\t' + std::to_string(s.rounds) + '\t' +
         (hasGoal ? "<= " + Fixed(figure.maxRatio, 2) : "-") + '\t' + met + '\t' + figure.note;
}

}  // namespace dorvint::bench
