// The History window's chart as the real view paints it, offscreen, on the screen's size and on
// a page's: whatever History.csv holds, every member's chart is drawn with a bounded number of
// strokes, so that no figure makes painting or printing slow.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <array>

#include "Targets.h"
#include "ui/HistoryView.h"

namespace pg::fuzz {
namespace {

// One application for the whole run, as a program has; the offscreen platform unless the
// caller chose another.
void StartQt() {
  static int argc = 1;
  static std::array<char, 16> name{"history_chart"};
  static std::array<char*, 2> argv{name.data(), nullptr};
  if (QGuiApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static auto* const application = new QGuiApplication(argc, argv.data());
  (void)application;
}

void Paint(QPaintDevice& device, const QRect& box, const HandicapChart& chart) {
  QPainter painter(&device);
  ui::DrawChart(painter, box, chart, Qt::black, Qt::white);
}

constexpr std::array<Target, 1> kWindowTargets = {{{"history_chart", HistoryChartBody}}};

}  // namespace

std::span<const Target> WindowTargets() {
  return kWindowTargets;
}

void HistoryChartBody(std::string_view input, const std::string& folder) {
  StartQt();
  OnHistoryWindow(input, folder, [](HistoryDialog& window) {
    for (int row = 0; row < 2; ++row) {
      window.ChooseMember(row);
      const HandicapChart& chart = window.chart();
      for (const QSize size : {QSize(480, 260), QSize(1600, 700)}) {
        QImage image(size, QImage::Format_RGB32);
        Paint(image, image.rect(), chart);
        // What the painting did, recorded: a grid line per step of a huge range would be
        // millions of strokes.
        QPicture strokes;
        Paint(strokes, QRect(QPoint(0, 0), size), chart);
        const auto most = 16384 + 1024 * static_cast<qsizetype>(chart.points.size());
        Require(strokes.size() <= most, "the chart took " + std::to_string(strokes.size()) +
                                            " bytes of strokes for " +
                                            std::to_string(chart.points.size()) + " points");
      }
    }
  });
}

}  // namespace pg::fuzz

// The system's font library keeps a few hundred bytes it never frees once Qt has asked it for a
// font; that is not the program's, and LeakSanitizer is told so for the programs that paint.
extern "C" const char* __lsan_default_suppressions() {  // NOLINT(bugprone-reserved-identifier)
  return "leak:libfontconfig.so\n";
}
