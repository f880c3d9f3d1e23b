// The club's lock as the program keeps it, with QLockFile: held by another copy on this computer,
// left by a copy that stopped, held on another computer and taken over, and a folder where no
// lock can be made. Run under Wine too, where the lock is Windows'.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <cstdlib>

#include "review/ClubLock.h"
#include "ui/QtPorts.h"
#include "ui/Text.h"

namespace {

using pg::ClubLocks;

class ClubLocksTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir;
  std::string Lock() const {
    return pg::ui::CorePath(dir.filePath(QStringLiteral("Pairgauge.lock")));
  }

 private slots:
  void init() {
    QFile::remove(dir.filePath(QStringLiteral("Pairgauge.lock")));
    QFile::remove(dir.filePath(QStringLiteral("Pairgauge.lock.txt")));
  }

  void aCopyRunningHereIsToldWhoHoldsTheClub() {
    pg::ui::QtClubLocks first, second;
    QCOMPARE(first.Lock(Lock(), pg::kUpdatingHandicaps).outcome, ClubLocks::Outcome::Taken);
    const ClubLocks::Attempt held = second.Lock(Lock(), pg::kEditingParameters);
    QCOMPARE(held.outcome, ClubLocks::Outcome::Held);
    QVERIFY(held.holder.thisComputer);
    QCOMPARE(held.holder.activity, std::string(pg::kUpdatingHandicaps));
    QVERIFY(held.holder.since.has_value());
    first.Unlock(Lock());
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("Pairgauge.lock.txt"))));
    QCOMPARE(second.Lock(Lock(), pg::kEditingParameters).outcome, ClubLocks::Outcome::Taken);
  }

  void aLockLeftByACopyThatStoppedIsKnownForOne() {
    // This test program itself takes the lock in a process of its own and ends at once, as a
    // crash ends a program.
    QCOMPARE(QProcess::execute(QCoreApplication::applicationFilePath(),
                               {QStringLiteral("--hold"), pg::ui::QtPath(Lock())}),
             0);
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("Pairgauge.lock"))));
    pg::ui::QtClubLocks locks;
    const ClubLocks::Attempt attempt = locks.Lock(Lock(), pg::kUpdatingHandicaps);
    QCOMPARE(attempt.outcome, ClubLocks::Outcome::TakenOver);
    QVERIFY(attempt.holder.thisComputer);
    QCOMPARE(attempt.holder.activity, std::string(pg::kUndoingAnUpdate));
  }

  void aLockHeldOnAnotherComputerIsTakenOverOnlyWhenAsked() {
    // A lock file as a program on another computer leaves it: its process, name and computer.
    QFile other(dir.filePath(QStringLiteral("Pairgauge.lock")));
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write("4242\npairgauge\nTREASURER\n");
    other.close();
    pg::ui::QtClubLocks locks;
    const ClubLocks::Attempt held = locks.Lock(Lock(), pg::kUpdatingHandicaps);
    QCOMPARE(held.outcome, ClubLocks::Outcome::Held);
    QVERIFY(!held.holder.thisComputer);
    QCOMPARE(held.holder.computer, std::string("TREASURER"));
    const ClubLocks::Attempt over = locks.TakeOver(Lock(), pg::kUpdatingHandicaps);
    QCOMPARE(over.outcome, ClubLocks::Outcome::TakenOver);
    QCOMPARE(over.holder.computer, std::string("TREASURER"));
    pg::ui::QtClubLocks second;
    QCOMPARE(second.Lock(Lock(), pg::kUpdatingHandicaps).outcome, ClubLocks::Outcome::Held);
    locks.Unlock(Lock());
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("Pairgauge.lock"))));
  }

  void aFolderThatIsNotThereHoldsNoLock() {
    pg::ui::QtClubLocks locks;
    const ClubLocks::Attempt attempt =
        locks.Lock(pg::ui::CorePath(dir.filePath(QStringLiteral("missing/Pairgauge.lock"))),
                   pg::kUpdatingHandicaps);
    QCOMPARE(attempt.outcome, ClubLocks::Outcome::Failed);
    QVERIFY(!attempt.error.empty());
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--hold") {
    QCoreApplication app(argc, argv);
    pg::ui::QtClubLocks locks;
    const bool taken =
        locks.Lock(pg::ui::CorePath(QString::fromLocal8Bit(argv[2])), pg::kUndoingAnUpdate)
            .outcome == pg::ClubLocks::Outcome::Taken;
    std::fflush(nullptr);
    std::_Exit(taken ? 0 : 1);
  }
  QCoreApplication app(argc, argv);
  ClubLocksTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "ClubLocksTest.moc"
