#include "ui/MainWindowView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Controls.h"
#include "ui/Text.h"

namespace pg::ui {

MainWindowView::MainWindowView(MainWindow& model, QWidget* parent)
    : QMainWindow(parent),
      model_(model),
      body_(new QWidget(this)),
      lblHead_(Make<QLabel>(model.lblHead, body_)),
      lblMess_(Make<QLabel>(model.lblMess, body_)),
      cmdParam_(Make<QPushButton>(model.cmdParam, body_)),
      cmdUpdate_(Make<QPushButton>(model.cmdUpdate, body_)),
      cmdHistory_(Make<QPushButton>(model.cmdHistory, body_)),
      cmdStop_(Make<QPushButton>(model.cmdStop, body_)),
      cmdAbout_(Make<QPushButton>(model.cmdAbout, body_)) {
  // A main window, so that a screen reader takes it for the program's window (a frame).
  setObjectName(QString::fromLatin1(MainWindow::kName));
  setWindowTitle(QString::fromLatin1(MainWindow::kCaption));
  setAccessibleName(QString::fromLatin1(MainWindow::kCaption));
  body_->setAccessibleName(QString::fromLatin1(MainWindow::kCaption));
  setCentralWidget(body_);

  QFont headFont = lblHead_->font();
  headFont.setBold(true);
  headFont.setPointSizeF(headFont.pointSizeF() * 1.4);
  lblHead_->setFont(headFont);
  lblHead_->setAlignment(Qt::AlignCenter);
  lblMess_->setAlignment(Qt::AlignCenter);
  lblMess_->setMinimumHeight(2 * lblMess_->fontMetrics().lineSpacing());
  lblHead_->setTextFormat(Qt::PlainText);
  lblMess_->setTextFormat(Qt::PlainText);

  // The buttons stay together in the middle however wide the window is made.
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdParam_);
  buttons->addWidget(cmdUpdate_);
  buttons->addWidget(cmdHistory_);
  buttons->addWidget(cmdStop_);
  buttons->addStretch();
  // About is not one of the secretary's tasks: it stands apart, at the foot.
  auto* foot = new QHBoxLayout;
  foot->addStretch();
  foot->addWidget(cmdAbout_);

  auto* layout = new QVBoxLayout(body_);
  layout->setContentsMargins(24, 20, 24, 20);
  layout->setSpacing(16);
  layout->addWidget(lblHead_);
  layout->addWidget(lblMess_);
  layout->addLayout(buttons);
  layout->addLayout(foot);
  setMinimumWidth(460);

  connect(cmdParam_, &QPushButton::clicked, this, [this] {
    model_.ParamClick();
    Refresh();
  });
  connect(cmdUpdate_, &QPushButton::clicked, this, [this] {
    model_.UpdateClick();
    Refresh();
  });
  connect(cmdHistory_, &QPushButton::clicked, this, [this] {
    model_.HistoryClick();
    Refresh();
  });
  connect(cmdStop_, &QPushButton::clicked, this, [this] { model_.StopClick(); });
  connect(cmdAbout_, &QPushButton::clicked, this, [this] { model_.AboutClick(); });
  Refresh();
  SetUpButtons(this, {{cmdParam_, &model_.cmdParam},
                      {cmdUpdate_, &model_.cmdUpdate},
                      {cmdHistory_, &model_.cmdHistory},
                      {cmdStop_, &model_.cmdStop},
                      {cmdAbout_, &model_.cmdAbout}});
}

void MainWindowView::Refresh() {
  Show(lblHead_, model_.lblHead);
  Show(lblMess_, model_.lblMess);
  Show(cmdParam_, model_.cmdParam);
  Show(cmdUpdate_, model_.cmdUpdate);
  Show(cmdHistory_, model_.cmdHistory);
  Show(cmdStop_, model_.cmdStop);
  Show(cmdAbout_, model_.cmdAbout);
}

}  // namespace pg::ui
