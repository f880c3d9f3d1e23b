#pragma once

#include <span>
#include <string>
#include <vector>

namespace pg {

// The value axis of a chart: its ends, the step between its grid lines and their labels. A
// chart draws one line and one label per grid line, so their count is bounded whatever the
// values: a figure typed into the wrong cell of a file cannot make a chart slow to draw or print.
struct ChartScale {
  double low = 0;  // the axis' ends: every value lies between them, with a margin
  double high = 1;
  double step = 1;  // between grid lines: 1, 2 or 5 times a power of ten
  struct Line {
    double value = 0;
    std::string label;  // with as many decimals as the step needs ("-12", "0.5")
  };
  std::vector<Line> lines;  // low to high, all between low and high

  // Where value lies on the axis: 0 at low, 1 at high.
  double Fraction(double value) const { return (value - low) / (high - low); }
};

// The scale for the values (those that are not finite are passed over; the others are taken
// within 1e300 either way), with at most `most` grid lines (at least 2).
ChartScale ScaleFor(std::span<const double> values, int most);

}  // namespace pg
