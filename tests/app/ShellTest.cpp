#include <QCursor>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include "app/MainWindow.h"
#include "app/Startup.h"
#include "store/PackageInstall.h"
#include "tests/app/AppTestSupport.h"

namespace photocheck {
namespace {

const char* const WorkFiles[] = {"readme.doc", "versions.doc", "SetParameters.ini", "qob.trd"};

}  // namespace

class ShellTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { apptest::prepareTestApplication(); }

    void theCloseBoxAndTheQuitButtonDeleteTheWorkingFiles() {
        for (const bool quitButton : {false, true}) {
            const apptest::Folders folders;
            const auto desktop = startDesktop({"", folders.work});
            QVERIFY(desktop);
            desktop->frmMain.show();
            QVERIFY(QTest::qWaitForWindowExposed(&desktop->frmMain));
            if (quitButton)
                QTest::mouseClick(desktop->frmMain.findChild<QToolButton*>("SpeedButton5"), Qt::LeftButton);
            else
                QVERIFY(desktop->frmMain.close());
            QVERIFY(!desktop->frmMain.isVisible());
            for (const char* file : WorkFiles) QVERIFY2(!test::fileExists(folders.work + "/" + file), file);
        }
    }

    // Qt's own dialogs and buttons speak Chinese.
    void qtsOwnTextsAreInChinese() {
        const QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Open);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QString("取消"));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), QString("查找范围："));
    }

    // The designed position where the window fits the screen, otherwise moved just enough; the size stays.
    void theWindowIsMovedOnlyAsFarAsTheScreenNeeds() {
        const QRect window(194, 121, 805, 713);
        QCOMPARE(fittedOnScreen(window, {0, 0, 1280, 1024}), QPoint(194, 121));
        QCOMPARE(fittedOnScreen(window, {0, 0, 1366, 738}), QPoint(194, 25));
        QCOMPARE(fittedOnScreen(window, {0, 0, 800, 600}), QPoint(0, 0));

        const apptest::Folders folders;
        const auto desktop = startDesktop({"", folders.work});
        desktop->frmMain.show();
        QVERIFY(QTest::qWaitForWindowExposed(&desktop->frmMain));
        const QRect screen = desktop->frmMain.screen()->availableGeometry();
        const QSize frame = desktop->frmMain.frameGeometry().size();
        QTRY_COMPARE(desktop->frmMain.frameGeometry().topLeft(), fittedOnScreen({{194, 121}, frame}, screen));
        QCOMPARE(desktop->frmMain.size(), QSize(805, 683));
        desktop->frmMain.hide();
    }

    // The pointer moves one pixel per arrow key, and the key still moves the grid's current row.
    void anArrowKeyMovesThePointerAndStillReachesTheGrid() {
        const apptest::Folders folders;
        const std::string work = folders.work + "/";
        InstallWorkFiles(work, apptest::binFolder() + "/xl.oef", {});
        Database(work + DatabaseFileName, DatabaseKey)
            .execute(
                "insert into pictureMsg (name,mode) values (' a ',' txt ');"
                "insert into pictureMsg (name,mode) values (' b ',' txt ');");
        const auto desktop = startDesktop({"", folders.work});
        QVERIFY(desktop);
        TFrmMain& window = desktop->frmMain;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* grid = window.findChild<QTableView*>("DBGrid1");
        grid->setFocus();
        QCOMPARE(grid->currentIndex().row(), 0);

        QCursor::setPos(window.mapToGlobal(QPoint(100, 100)));
        const QPoint before = QCursor::pos();
        QTest::keyClick(window.windowHandle(), Qt::Key_Down);
        QCOMPARE(QCursor::pos(), before + QPoint(0, 1));
        QCOMPARE(grid->currentIndex().row(), 1);
        QTest::keyClick(window.windowHandle(), Qt::Key_Left);
        QCOMPARE(QCursor::pos(), before + QPoint(-1, 1));
        QTest::keyClick(window.windowHandle(), Qt::Key_A);
        QCOMPARE(QCursor::pos(), before + QPoint(-1, 1));
        window.hide();
    }
};

}  // namespace photocheck

QTEST_MAIN(photocheck::ShellTest)
#include "ShellTest.moc"
