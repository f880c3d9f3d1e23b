#include "ui/Charts.h"

#include <QPainter>
#include <algorithm>

#include "ui/Text.h"

namespace pg::ui {

UpdateAxes::UpdateAxes(QPainter& painter, const QRect& box, int top,
                       const std::function<ChartScale(int most)>& scaleFor,
                       const std::vector<std::string>& labels, double lower, double upper,
                       QColor ink)
    : count_(labels.size()) {
  const QFontMetrics metrics = painter.fontMetrics();
  const int text = metrics.height();
  inset_ = text * 1.5;
  // The grid's labels a line and a half apart at least; the scale keeps their count to that.
  const int plotHeight = box.height() - top - 2 * text - text / 2;
  scale_ = scaleFor(std::clamp(plotHeight * 2 / (3 * std::max(text, 1)), 2, 10));
  int axisWidth = 0;
  for (const ChartScale::Line& line : scale_.lines)
    axisWidth = std::max(axisWidth, metrics.horizontalAdvance(Latin1(line.label)));
  const int left = box.left() + axisWidth + text / 2;
  plot_ = QRect(left, box.top() + top + text / 2, box.right() - left - text, plotHeight);

  painter.fillRect(QRectF(plot_.left(), Y(upper), plot_.width(), Y(lower) - Y(upper)),
                   QColor(120, 190, 120, 60));
  QColor faint = ink;
  faint.setAlpha(70);
  for (const ChartScale::Line& line : scale_.lines) {
    const double y = Y(line.value);
    painter.setPen(QPen(faint, 0));
    painter.drawLine(QPointF(plot_.left(), y), QPointF(plot_.right(), y));
    painter.setPen(ink);
    painter.drawText(QRectF(box.left(), y - text / 2.0, left - box.left() - text / 4.0, text),
                     Qt::AlignRight | Qt::AlignVCenter, Latin1(line.label));
  }
  painter.setPen(QPen(ink, 0));
  painter.drawRect(plot_);

  const double labelWidth = metrics.horizontalAdvance(QStringLiteral("00/00/00")) + text;
  const double lastX = X(count_ - 1);
  double lastLabel = -1e9;
  for (size_t i = 0; i < count_; ++i) {
    const double x = X(i);
    const bool end = i + 1 == count_;
    if (x - lastLabel < labelWidth || (!end && lastX - x < labelWidth)) continue;
    const double at =
        std::clamp(x - labelWidth / 2.0, double(box.left()), box.right() - labelWidth);
    painter.drawText(QRectF(at, plot_.bottom() + text / 4.0, labelWidth, text), Qt::AlignCenter,
                     Latin1(labels[i]));
    lastLabel = x;
  }
}

double UpdateAxes::X(size_t i) const {
  const double steps = count_ > 1 ? static_cast<double>(count_ - 1) : 0;
  if (steps == 0) return plot_.left() + plot_.width() / 2.0;
  return plot_.left() + inset_ + static_cast<double>(i) / steps * (plot_.width() - 2 * inset_);
}

double UpdateAxes::Y(double handicap) const {
  return plot_.bottom() - scale_.Fraction(handicap) * plot_.height();
}

}  // namespace pg::ui
