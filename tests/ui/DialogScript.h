#pragma once

#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <vector>

// Helpers the windows' Qt tests share.

// Answers the modal dialogs that the code under test opens, one step per dialog, in order. Once
// a dialog is not the one expected next, or a step's checks fail, every dialog still coming is
// closed, so the test fails instead of waiting for a person.
class DialogScript {
 public:
  template <class D>
  DialogScript& Then(std::function<void(D*)> act) {
    steps_.push_back([act](QWidget* w) {
      D* d = qobject_cast<D*>(w);
      if (d != nullptr) act(d);
      return d != nullptr;
    });
    return *this;
  }

  void Start() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.start(10);
  }
  bool Finished() const { return next_ == steps_.size() && !failed_; }

 private:
  void Tick() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) return;
    if (!failed_ && next_ < steps_.size() && steps_[next_](modal) && !QTest::currentTestFailed()) {
      ++next_;
      return;
    }
    failed_ = true;
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->done(QDialog::Rejected);
  }

  std::vector<std::function<bool(QWidget*)>> steps_;
  size_t next_ = 0;
  bool failed_ = false;
  QTimer timer_;
};

inline void Type(QInputDialog* prompt, const char* text) {
  QLineEdit* edit = prompt->findChild<QLineEdit*>();
  QVERIFY(edit != nullptr);
  edit->clear();
  QTest::keyClicks(edit, QString::fromLatin1(text));
  QTest::keyClick(edit, Qt::Key_Return);
}

// Answers what a click on "Print..." opens: the print dialog, with Cancel. On Windows the dialog
// is Windows' own, which no test can answer, and on a computer without a printer (Wine's) the
// click says instead that nothing could be printed (a message starting `failed`). False on
// Windows with a printer set up: the caller skips.
inline bool ThenPrintDialog(DialogScript& script, const char* failed) {
#ifdef Q_OS_WIN
  if (!QPrinterInfo::availablePrinterNames().isEmpty()) return false;
  script.Then<QMessageBox>([failed](QMessageBox* box) {
    QVERIFY(box->text().startsWith(QString::fromLatin1(failed)));
    box->accept();
  });
#else
  (void)failed;
  script.Then<QPrintDialog>([](QPrintDialog* dialog) { dialog->reject(); });
#endif
  return true;
}
