#include "ui/PasswordViews.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Controls.h"
#include "ui/Text.h"

namespace pg::ui {

namespace {

// The application's style, except that a password box echoes the program's own character.
class EchoStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_LineEdit_PasswordCharacter) return kPasswordEcho;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

void MakePasswordBox(QLineEdit* edit) {
  auto* style = new EchoStyle;
  style->setParent(edit);
  edit->setStyle(style);
  edit->setEchoMode(QLineEdit::Password);
  edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 20);
}

void SetUp(QDialog* dialog, const char* name, const char* caption, QLabel* lblMess) {
  dialog->setObjectName(QString::fromLatin1(name));
  dialog->setWindowTitle(QString::fromLatin1(caption));
  dialog->setAccessibleName(QString::fromLatin1(caption));
  lblMess->setWordWrap(true);
  lblMess->setTextFormat(Qt::PlainText);
  lblMess->setMinimumWidth(lblMess->fontMetrics().averageCharWidth() * 44);
}

QHBoxLayout* ButtonRow(QPushButton* ok, QPushButton* cancel) {
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(ok);
  row->addWidget(cancel);
  return row;
}

}  // namespace

PasswordEntryView::PasswordEntryView(PasswordEntry& model, QWidget* parent)
    : QDialog(parent),
      model_(model),
      lblMess_(Make<QLabel>(model.lblMess, this)),
      lblPass_(Make<QLabel>(model.lblPass, this)),
      txtPass_(Make<QLineEdit>(model.txtPass, this)),
      lblCaps_(Make<QLabel>(model.lblCaps, this)),
      cmdOK_(Make<QPushButton>(model.cmdOK, this)),
      cmdCancel_(Make<QPushButton>(model.cmdCancel, this)) {
  SetUp(this, PasswordEntry::kName, PasswordEntry::kCaption, lblMess_);
  MakePasswordBox(txtPass_);
  lblPass_->setBuddy(txtPass_);
  QFont bold = lblCaps_->font();
  bold.setBold(true);
  lblCaps_->setFont(bold);
  // Shown and hidden without the window jumping.
  QSizePolicy keep = lblCaps_->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  lblCaps_->setSizePolicy(keep);

  auto* entry = new QHBoxLayout;
  entry->addWidget(lblPass_);
  entry->addWidget(txtPass_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblMess_);
  layout->addLayout(entry);
  layout->addWidget(lblCaps_);
  layout->addLayout(ButtonRow(cmdOK_, cmdCancel_));

  txtPass_->installEventFilter(this);
  // Every change but the view's own (ShowField's) is the user's: typed, pasted, or put in by
  // assistive software through the accessibility interface, which sends no textEdited.
  connect(txtPass_, &QLineEdit::textChanged, this,
          [this](const QString& text) { model_.pass = Typed(text); });
  connect(cmdOK_, &QPushButton::clicked, this, [this] {
    model_.OKClick();
    Finish();
  });
  connect(cmdCancel_, &QPushButton::clicked, this, [this] {
    model_.CancelClick();
    Finish();
  });
  Refresh();
  SetUpButtons(this, {{cmdOK_, &model_.cmdOK}, {cmdCancel_, &model_.cmdCancel}});
  txtPass_->setFocus();
}

void PasswordEntryView::Refresh() {
  Show(lblMess_, model_.lblMess);
  Show(lblPass_, model_.lblPass);
  ShowField(txtPass_, model_.txtPass, model_.pass);
  Show(lblCaps_, model_.lblCaps);
  Show(cmdOK_, model_.cmdOK);
  Show(cmdCancel_, model_.cmdCancel);
}

void PasswordEntryView::Finish() {
  Refresh();
  if (model_.closed()) done(QDialog::Accepted);
}

void PasswordEntryView::reject() {
  model_.Closing();
  Finish();
}

bool PasswordEntryView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtPass_ &&
      (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
    // Caps Lock itself changes state as it goes down or, when turning off, as it comes up.
    model_.ShowCapsWarning();
    Show(lblCaps_, model_.lblCaps);
  }
  return QDialog::eventFilter(watched, event);
}

void PasswordEntryView::changeEvent(QEvent* event) {
  // Caps Lock may have been pressed while another window had the keyboard.
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    model_.ShowCapsWarning();
    Show(lblCaps_, model_.lblCaps);
  }
  QDialog::changeEvent(event);
}

NewPasswordView::NewPasswordView(NewPassword& model, QWidget* parent)
    : QDialog(parent),
      model_(model),
      lblMess_(Make<QLabel>(model.lblMess, this)),
      lblPass_{Make<QLabel>(model.lblPass[0], this), Make<QLabel>(model.lblPass[1], this)},
      txtPass_{Make<QLineEdit>(model.txtPass[0], this), Make<QLineEdit>(model.txtPass[1], this)},
      cmdOK_(Make<QPushButton>(model.cmdOK, this)),
      cmdCancel_(Make<QPushButton>(model.cmdCancel, this)) {
  SetUp(this, NewPassword::kName, NewPassword::kCaption, lblMess_);
  auto* boxes = new QGridLayout;
  for (int i = 0; i < 2; ++i) {
    MakePasswordBox(txtPass_[i]);
    lblPass_[i]->setBuddy(txtPass_[i]);
    boxes->addWidget(lblPass_[i], i, 0);
    boxes->addWidget(txtPass_[i], i, 1);
    connect(txtPass_[i], &QLineEdit::textChanged, this,
            [this, i](const QString& text) { model_.pass[i] = Typed(text); });
  }
  boxes->setColumnStretch(1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblMess_);
  layout->addLayout(boxes);
  layout->addLayout(ButtonRow(cmdOK_, cmdCancel_));

  connect(cmdOK_, &QPushButton::clicked, this, [this] {
    model_.OKClick();
    Finish();
  });
  connect(cmdCancel_, &QPushButton::clicked, this, [this] {
    model_.CancelClick();
    Finish();
  });
  Refresh();
  SetUpButtons(this, {{cmdOK_, &model_.cmdOK}, {cmdCancel_, &model_.cmdCancel}});
  txtPass_[0]->setFocus();
}

void NewPasswordView::Refresh() {
  Show(lblMess_, model_.lblMess);
  for (int i = 0; i < 2; ++i) {
    Show(lblPass_[i], model_.lblPass[i]);
    ShowField(txtPass_[i], model_.txtPass[i], model_.pass[i]);
  }
  Show(cmdOK_, model_.cmdOK);
  Show(cmdCancel_, model_.cmdCancel);
}

void NewPasswordView::Finish() {
  Refresh();
  if (model_.closed()) done(QDialog::Accepted);
}

void NewPasswordView::reject() {
  model_.Closing();
  Finish();
}

}  // namespace pg::ui
