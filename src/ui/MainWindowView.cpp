#include "ui/MainWindowView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Controls.h"
#include "ui/Text.h"

namespace pg::ui {

MainWindowView::MainWindowView(MainWindow& model, QWidget* parent)
    : QWidget(parent),
      model_(model),
      lblHead_(Make<QLabel>(model.lblHead, this)),
      lblMess_(Make<QLabel>(model.lblMess, this)),
      cmdParam_(Make<QPushButton>(model.cmdParam, this)),
      cmdUpdate_(Make<QPushButton>(model.cmdUpdate, this)),
      cmdStop_(Make<QPushButton>(model.cmdStop, this)) {
  setObjectName(QString::fromLatin1(MainWindow::kName));
  setWindowTitle(QString::fromLatin1(MainWindow::kCaption));
  setAccessibleName(QString::fromLatin1(MainWindow::kCaption));

  QFont headFont = lblHead_->font();
  headFont.setBold(true);
  headFont.setPointSizeF(headFont.pointSizeF() * 1.4);
  lblHead_->setFont(headFont);
  lblHead_->setAlignment(Qt::AlignCenter);
  lblMess_->setAlignment(Qt::AlignCenter);
  lblMess_->setMinimumHeight(2 * lblMess_->fontMetrics().lineSpacing());
  lblHead_->setTextFormat(Qt::PlainText);
  lblMess_->setTextFormat(Qt::PlainText);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdParam_);
  buttons->addWidget(cmdUpdate_);
  buttons->addWidget(cmdStop_);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 20, 24, 20);
  layout->setSpacing(16);
  layout->addWidget(lblHead_);
  layout->addWidget(lblMess_);
  layout->addLayout(buttons);
  setMinimumWidth(460);

  connect(cmdParam_, &QPushButton::clicked, this, [this] {
    model_.ParamClick();
    Refresh();
  });
  connect(cmdUpdate_, &QPushButton::clicked, this, [this] {
    model_.UpdateClick();
    Refresh();
  });
  connect(cmdStop_, &QPushButton::clicked, this, [this] { model_.StopClick(); });
  Refresh();
}

void MainWindowView::Refresh() {
  Show(lblHead_, model_.lblHead);
  Show(lblMess_, model_.lblMess);
  Show(cmdParam_, model_.cmdParam);
  Show(cmdUpdate_, model_.cmdUpdate);
  Show(cmdStop_, model_.cmdStop);
}

}  // namespace pg::ui
