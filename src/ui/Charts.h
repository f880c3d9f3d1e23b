#pragma once

#include <QColor>
#include <QRect>
#include <functional>
#include <string>
#include <vector>

#include "history/ChartScale.h"

class QPainter;

namespace pg::ui {

// The frame of a chart of handicaps at the updates, drawn into `box` below `top` pixels kept for a
// key: the club's range shaded, the grid lines and labels of the largest scale that has room, the
// plot's edge, and under it the labels of the updates that have room (the first, the last, and
// those between). The History window's chart and the trial's draw their lines into it.
class UpdateAxes {
 public:
  UpdateAxes(QPainter& painter, const QRect& box, int top,
             const std::function<ChartScale(int most)>& scaleFor,
             const std::vector<std::string>& labels, double lower, double upper, QColor ink);

  // Where update i (an update a step, as the secretary runs them: every few weeks) and a
  // handicap lie.
  double X(size_t i) const;
  double Y(double handicap) const;
  const QRect& plot() const { return plot_; }

 private:
  QRect plot_;
  ChartScale scale_;
  size_t count_;
  double inset_;
};

}  // namespace pg::ui
