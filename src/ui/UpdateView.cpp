#include "ui/UpdateView.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Controls.h"
#include "ui/QtPorts.h"
#include "ui/Text.h"

namespace pg::ui {

namespace {

// Wide enough for a long line of the lists without scrolling sideways.
constexpr const char* kWidestLine =
    "00. 30 September 2006 - Wednesday afternoon : Section 2 (blue)";

// The list's lines as the model holds them, rebuilt only when they changed, so that a click
// does not scroll the list back to its top.
void ShowLines(QListWidget* list, const std::vector<CatalogueLine>& lines, int selected) {
  bool same = list->count() == static_cast<int>(lines.size());
  for (int row = 0; same && row < list->count(); ++row)
    same = list->item(row)->text() == Latin1(lines[static_cast<size_t>(row)].Text);
  if (!same) {
    list->clear();
    for (const CatalogueLine& line : lines)
      list->addItem(Latin1(line.Text));
  }
  if (selected >= 0 && selected < list->count()) {
    list->setCurrentRow(selected);
  } else {
    list->clearSelection();
    list->setCurrentItem(nullptr);
  }
}

}  // namespace

UpdateView::UpdateView(UpdateDialog& model, QWidget* parent)
    : QDialog(parent),
      model_(model),
      fraInfo_(Make<QGroupBox>(model.fraInfo, this)),
      lblDay_(Make<QLabel>(model.lblDay, fraInfo_)),
      cmdOK_(Make<QPushButton>(model.cmdOK, this)),
      cmdCancel_(Make<QPushButton>(model.cmdCancel, this)) {
  setObjectName(QString::fromLatin1(UpdateDialog::kName));
  setWindowTitle(QString::fromLatin1(UpdateDialog::kCaption));
  setAccessibleName(QString::fromLatin1(UpdateDialog::kCaption));

  const int lineWidth = fontMetrics().horizontalAdvance(QString::fromLatin1(kWidestLine));
  for (size_t i = 0; i < 2; ++i) {
    lists_[i] = Make<QListWidget>(model.lstFiles[i], this);
    lists_[i]->setSelectionMode(QAbstractItemView::SingleSelection);
    lists_[i]->setMinimumWidth(lineWidth + 2 * lists_[i]->frameWidth() + 24);
    lists_[i]->setMinimumHeight(12 * fontMetrics().lineSpacing());
    headings_[i] = new QLabel(this);
    headings_[i]->setObjectName(QStringLiteral("lblFiles%1").arg(i));
    headings_[i]->setTextFormat(Qt::PlainText);
    headings_[i]->setBuddy(lists_[i]);
    cmdAdd_[i] = Make<QPushButton>(model.cmdAdd[i], this);
    // Only one move button shows at a time; keeping both places stops the lists jumping.
    QSizePolicy policy = cmdAdd_[i]->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    cmdAdd_[i]->setSizePolicy(policy);
    const int index = static_cast<int>(i);
    // The line highlighted is the line described and moved, however it became current: pressed,
    // reached by dragging, or by the keys. A press on the current line describes it too (the
    // first line of the ignored list, say, when nothing can be used); the model describes each
    // line once.
    connect(lists_[i], &QListWidget::currentRowChanged, this, [this, index](int row) {
      if (refreshing_ || row < 0) return;
      model_.ListClick(index, row);
      Refresh();
    });
    connect(lists_[i], &QAbstractItemView::pressed, this, [this, index](const QModelIndex& at) {
      if (refreshing_ || !at.isValid()) return;
      model_.ListClick(index, at.row());
      Refresh();
    });
    connect(cmdAdd_[i], &QPushButton::clicked, this, [this, index] {
      model_.MoveClick(index);
      Refresh();
    });
  }

  lblDay_->setTextFormat(Qt::PlainText);
  lblDay_->setWordWrap(true);
  lblDay_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lblDay_->setMinimumHeight(9 * lblDay_->fontMetrics().lineSpacing());
  auto* info = new QVBoxLayout(fraInfo_);
  info->addWidget(lblDay_);

  auto* used = new QVBoxLayout;
  used->addWidget(headings_[0]);
  used->addWidget(lists_[0], 1);
  auto* moves = new QVBoxLayout;
  moves->addStretch();
  moves->addWidget(cmdAdd_[1]);
  moves->addWidget(cmdAdd_[0]);
  moves->addStretch();
  auto* ignored = new QVBoxLayout;
  ignored->addWidget(headings_[1]);
  ignored->addWidget(lists_[1], 1);
  auto* top = new QHBoxLayout;
  top->addLayout(used, 1);
  top->addLayout(moves);
  top->addLayout(ignored, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdOK_);
  buttons->addWidget(cmdCancel_);

  // The lists take most of what the window is made to grow by, the description the rest.
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 3);
  layout->addWidget(fraInfo_, 1);
  layout->addLayout(buttons);

  // Tab follows the reading order: the lists with the move buttons between them, then the
  // window's buttons.
  setTabOrder(lists_[0], cmdAdd_[1]);
  setTabOrder(cmdAdd_[1], cmdAdd_[0]);
  setTabOrder(cmdAdd_[0], lists_[1]);
  setTabOrder(lists_[1], cmdOK_);
  setTabOrder(cmdOK_, cmdCancel_);

  connect(cmdOK_, &QPushButton::clicked, this, [this] {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    model_.UpdateClick();
    QApplication::restoreOverrideCursor();
    if (!model_.closed) Refresh();
  });
  connect(cmdCancel_, &QPushButton::clicked, this, [this] { model_.CloseClick(); });
  // The model closes the window before it opens the review window over the main window.
  model_.onClose = [this] { accept(); };
  Refresh();
  SetUpButtons(this, {{cmdAdd_[0], &model_.cmdAdd[0]},
                      {cmdAdd_[1], &model_.cmdAdd[1]},
                      {cmdOK_, &model_.cmdOK},
                      {cmdCancel_, &model_.cmdCancel}});
  // The arrows choose a session at once, and Enter updates.
  lists_[0]->setFocus();
}

UpdateView::~UpdateView() {
  model_.onClose = nullptr;
}

void UpdateView::Refresh() {
  refreshing_ = true;
  for (size_t i = 0; i < 2; ++i) {
    // The heading names its list, and its key moves the focus into it.
    const Control& list = model_.lstFiles[i];
    Show(headings_[i], list);
    lists_[i]->setAccessibleName(OneLine(list.caption));
    lists_[i]->setEnabled(list.enabled);
    ShowLines(lists_[i], model_.lists[i], model_.selected[i]);
    Show(cmdAdd_[i], model_.cmdAdd[i]);
  }
  fraInfo_->setTitle(Shown(model_.fraInfo.caption));
  fraInfo_->setAccessibleName(OneLine(model_.fraInfo.caption));
  // A screen reader reads a label by its name: the description itself, or the frame's caption
  // while there is none.
  lblDay_->setText(Shown(model_.lblDay.caption));
  const QString description = OneLine(model_.lblDay.caption);
  lblDay_->setAccessibleName(description.isEmpty() ? OneLine(model_.fraInfo.caption) : description);
  Show(cmdOK_, model_.cmdOK);
  Show(cmdCancel_, model_.cmdCancel);
  refreshing_ = false;
}

void RegisterUpdateWindow(QtWindows& windows, Program& program) {
  windows.Register(WindowId::Update, [&program] {
    UpdateDialog model(program.context, program.session, program.members, program.outputs,
                       program.nameCheck);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    model.Load();
    QApplication::restoreOverrideCursor();
    UpdateView view(model, DialogParent());
    view.exec();
  });
}

}  // namespace pg::ui
