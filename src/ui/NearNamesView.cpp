#include "ui/NearNamesView.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/Controls.h"
#include "ui/Printing.h"
#include "ui/QtPorts.h"
#include "ui/Text.h"

namespace pg::ui {

NearNamesView::NearNamesView(NearNamesDialog& model, QWidget* parent)
    : QDialog(parent),
      model_(model),
      lblInfo_(Make<QLabel>(model.lblInfo, this)),
      grdNames_(Make<QTableWidget>(model.grdNames, this)),
      cmdOK_(Make<QPushButton>(model.cmdOK, this)),
      cmdCancel_(Make<QPushButton>(model.cmdCancel, this)),
      cmdPrint_(Make<QPushButton>(model.cmdPrint, this)) {
  setObjectName(QString::fromLatin1(NearNamesDialog::kName));
  setWindowTitle(QString::fromLatin1(NearNamesDialog::kCaption));
  setAccessibleName(QString::fromLatin1(NearNamesDialog::kCaption));
  setWindowIcon(parent != nullptr ? parent->windowIcon() : QApplication::windowIcon());

  lblInfo_->setTextFormat(Qt::PlainText);
  lblInfo_->setWordWrap(true);
  Show(lblInfo_, model.lblInfo);

  // Read only: the names are put right in the scoring program or the membership file.
  const auto& rows = model.Rows();
  QStringList headings;
  for (const std::string& heading : NearNamesDialog::Headings())
    headings << Latin1(heading);
  QStringList rowNames;
  for (size_t r = 0; r < rows.size(); ++r)
    rowNames << Latin1(model.RowName(r));
  grdNames_->setColumnCount(static_cast<int>(NearNamesDialog::kColumns));
  grdNames_->setRowCount(static_cast<int>(rows.size()));
  grdNames_->setHorizontalHeaderLabels(headings);
  // Hidden, but a screen reader still names each row by the name it is about.
  grdNames_->setVerticalHeaderLabels(rowNames);
  grdNames_->verticalHeader()->hide();
  grdNames_->horizontalHeader()->setAccessibleName(OneLine(model.grdNames.caption));
  grdNames_->horizontalHeader()->setStretchLastSection(true);
  grdNames_->setAccessibleName(OneLine(model.grdNames.caption));
  for (size_t r = 0; r < rows.size(); ++r) {
    for (size_t c = 0; c < NearNamesDialog::kColumns; ++c) {
      auto* item = new QTableWidgetItem(Latin1(rows[r][c]));
      item->setFlags(Qt::ItemIsEnabled);
      grdNames_->setItem(static_cast<int>(r), static_cast<int>(c), item);
    }
  }
  grdNames_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grdNames_->setSelectionMode(QAbstractItemView::NoSelection);
  grdNames_->setWordWrap(false);
  grdNames_->setTabKeyNavigation(false);
  grdNames_->resizeColumnsToContents();
  if (!rows.empty()) grdNames_->setCurrentCell(0, 0);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdOK_);
  buttons->addWidget(cmdCancel_);
  buttons->addWidget(cmdPrint_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblInfo_);
  layout->addWidget(grdNames_, 1);
  layout->addLayout(buttons);

  setTabOrder(grdNames_, cmdOK_);
  setTabOrder(cmdOK_, cmdCancel_);
  setTabOrder(cmdCancel_, cmdPrint_);

  connect(cmdOK_, &QPushButton::clicked, this, &NearNamesView::accept);
  connect(cmdCancel_, &QPushButton::clicked, this, &NearNamesView::reject);
  connect(cmdPrint_, &QPushButton::clicked, this, [this] {
    if (!ChoosePrinter(this, NearNamesDialog::kCaption, model_.Printout(),
                       [this](QPrinter& printer) { Print(printer); }))
      model_.PrintFailed();
  });

  Show(cmdOK_, model_.cmdOK);
  Show(cmdCancel_, model_.cmdCancel);
  Show(cmdPrint_, model_.cmdPrint);
  SetUpButtons(
      this,
      {{cmdOK_, &model_.cmdOK}, {cmdCancel_, &model_.cmdCancel}, {cmdPrint_, &model_.cmdPrint}});
  SizeToContents();
  // The arrows go through the names at once, and Enter continues.
  grdNames_->setFocus();
}

void NearNamesView::SizeToContents() {
  // Every column whole and a dozen names in view, as far as the screen allows.
  const QSize screen = this->screen()->availableSize();
  int width = 2 * grdNames_->frameWidth() + grdNames_->verticalScrollBar()->sizeHint().width();
  for (int c = 0; c < grdNames_->columnCount(); ++c)
    width += grdNames_->columnWidth(c);
  const int shown = std::clamp(grdNames_->rowCount(), 3, 12);
  const int height = 2 * grdNames_->frameWidth() +
                     grdNames_->horizontalHeader()->sizeHint().height() +
                     shown * grdNames_->verticalHeader()->defaultSectionSize();
  grdNames_->setMinimumSize(std::min(width, screen.width() * 9 / 10),
                            std::min(height, screen.height() / 2));
  layout()->activate();
  resize(sizeHint().boundedTo(screen));
}

bool NearNamesView::Print(QPrinter& printer) {
  if (PrintTable(printer, model_.Printout())) return true;
  model_.PrintFailed();
  return false;
}

void NearNamesView::accept() {
  model_.ContinueClick();
  QDialog::accept();
}

void NearNamesView::reject() {
  model_.BackClick();
  QDialog::reject();
}

void RegisterNearNamesWindow(QtWindows& windows, Program& program) {
  windows.Register(WindowId::NearNames, [&program] {
    NearNamesDialog model(program.context, program.nameCheck);
    NearNamesView view(model, DialogParent());
    view.exec();
  });
}

}  // namespace pg::ui
