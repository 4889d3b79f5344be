#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include "app/Startup.h"
#include "store/PackageInstall.h"
#include "tests/app/AppTestSupport.h"

namespace photocheck {

class StartupTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { apptest::prepareTestApplication(); }

    // The data module opens the database before the window shows its rows, and the dialog, created
    // last, fills its edits from the table and the thresholds from the parameter file.
    void startUpShowsTheStoredRowsThenLoadsTheDialogAndTheThresholds() {
        const apptest::Folders folders;
        const std::string work = folders.work + "/";
        InstallWorkFiles(work, apptest::binFolder() + "/xl.oef", {});
        {
            Database db(work + DatabaseFileName, DatabaseKey);
            db.execute(
                "insert into pictureMsg (name,mode,result,folderPath) values (' a ',' txt ','不合格',' /x/ "
                "');"
                "insert into pictureMsg (name,mode,result,folderPath) values (' b ',' txt ','不合格',' /x/ "
                "');"
                "update preParameters set PreBlue=70");
        }
        const apptest::MessageBoxes boxes;
        const auto desktop = startDesktop({"", folders.work});
        QVERIFY(desktop);
        QCOMPARE(boxes.texts(), QStringList());

        const auto* grid = desktop->frmMain.findChild<QTableView*>("DBGrid1");
        QCOMPARE(grid->model()->rowCount(), 2);
        QCOMPARE(grid->model()->index(1, 0).data().toString(), QString("b"));
        QVERIFY(desktop->frmPreParameters.isHidden());
        QCOMPARE(desktop->frmPreParameters.findChild<QLineEdit*>("edtPreBlue")->text(), QString("70"));
        QCOMPARE(desktop->frmMain.parameters().ParamBlueRatio, 90);  // the file's value until confirmed
        QCOMPARE(desktop->frmMain.parameters().ParamHeadRatio, 50);
    }

    void aFreshWorkingFolderIsInstalledBeforeTheDatabaseOpens() {
        const apptest::Folders folders;
        const apptest::MessageBoxes boxes;
        const auto desktop = startDesktop({"", folders.work});
        QVERIFY(desktop);
        QCOMPARE(boxes.texts(), QStringList());
        for (const char* file : {"readme.doc", "versions.doc", "qob.trd", "SetParameters.ini"})
            QVERIFY2(test::fileExists(folders.work + "/" + file), file);
        QCOMPARE(desktop->frmPreParameters.findChild<QLineEdit*>("edtPreSize")->text(), QString("30"));
    }

    // Like everything else the program says, its help and its usage errors are in Chinese.
    void theHelpAndAUsageErrorAreInChinese() {
        const QString program = QString::fromStdString(apptest::binFolder() + "/photocheck");
        QProcess help;
        help.start(program, {"--help"});
        QVERIFY(help.waitForFinished(30000));
        QCOMPARE(help.exitCode(), 0);
        const QString text = QString::fromUtf8(help.readAllStandardOutput());
        QVERIFY2(text.startsWith("用法：photocheck [选项] [FOLDER]\n"), qPrintable(text));
        QVERIFY(text.contains("--work-folder DIR  存放数据库和参数文件的工作文件夹"));

        QProcess wrong;
        wrong.start(program, {"--no-such-option"});
        QVERIFY(wrong.waitForFinished(30000));
        QCOMPARE(wrong.exitCode(), 1);
        const QString error = QString::fromUtf8(wrong.readAllStandardError());
        // The last line; Qt itself may warn before it.
        QVERIFY2(error.endsWith("命令行有误（Unknown option 'no-such-option'.）。用 --help 查看用法。\n"),
                 qPrintable(error));
    }

    void aDatabaseThatDoesNotOpenEndsTheProgram() {
        const apptest::Folders folders;
        const std::string work = folders.work + "/";
        QVERIFY(QDir().mkpath(QString::fromStdString(work)));
        QVERIFY(QFile::setPermissions(QString::fromStdString(work),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        for (const char* name : {"readme.doc", "versions.doc", "SetParameters.ini"})
            test::writeFile(work + name, "");
        test::writeFile(work + DatabaseFileName, "not a database");

        const apptest::MessageBoxes boxes;
        QCOMPARE(runDesktop({"", folders.work}), 1);
        QCOMPARE(boxes.shown().size(), size_t{1});
        QCOMPARE(boxes.shown()[0].caption, QString("Tarvel电子_V1.0测试版"));
        QVERIFY2(boxes.shown()[0].text.startsWith("找不到数据库，程序将退出（"),
                 qPrintable(boxes.shown()[0].text));
        for (const QWidget* w : QApplication::topLevelWidgets()) QVERIFY(!qobject_cast<const TFrmMain*>(w));
    }

    void theWindowHasItsCaptionsAndItsControlsTheirPlaces() {
        const apptest::Folders folders;
        const auto desktop = startDesktop({"", folders.work});
        QVERIFY(desktop);
        TFrmMain& window = desktop->frmMain;
        QCOMPARE(window.windowTitle(), QString("Varnel电子照片检测V1.0测试版"));
        QCOMPARE(window.minimumSize(), QSize(805, 683));
        QCOMPARE(window.maximumSize(), QSize(805, 683));
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(desktop->frmPreParameters.windowTitle(), QString("参数设置"));

        struct Place {
            const char* name;
            QRect geometry;
            bool shown;
        };
        const Place places[] = {
            {"Panel1", {0, 0, 805, 60}, true},
            {"SpeedButton4", {40, 0, 65, 59}, true},
            {"SpeedButton1", {136, 0, 65, 59}, true},
            {"SpeedButton3", {528, 1, 65, 59}, true},
            {"SpeedButton6", {616, -8, 65, 73}, true},
            {"SpeedButton5", {712, 1, 65, 59}, true},
            {"cbDebug", {272, 11, 97, 17}, false},
            {"btnLoadPicture", {384, 8, 75, 25}, false},
            {"btncheckPicture", {382, 32, 75, 25}, false},
            {"GroupBox3", {8, 64, 401, 580}, true},
            {"orgImage", {2, 15, 391, 563}, true},
            {"showImage", {2, 16, 390, 562}, true},
            {"GroupBox1", {8, 160, 353, 361}, false},
            {"GroupBox4", {16, 48, 337, 73}, false},
            {"GroupBox2", {416, 64, 385, 579}, true},
            {"DBGrid1", {8, 104, 361, 472}, true},
            {"GroupBox5", {8, 24, 321, 74}, true},
            {"SpeedButton2", {232, 6, 66, 66}, true},
            {"Button2", {635, 317, 81, 25}, false},
            {"Button3", {643, 284, 75, 25}, false},
            {"Button7", {525, 468, 75, 25}, false},
            {"Button5", {216, 116, 75, 25}, false},
            {"edtBlueFrom", {72, 116, 49, 21}, false},
            {"ProgressBar1", {0, 644, 805, 20}, true},
            {"StatusBar1", {0, 664, 289, 19}, true},
            {"Memo2", {288, 664, 521, 43}, true},
        };
        for (const Place& place : places) {
            const auto* control = window.findChild<QWidget*>(place.name);
            QVERIFY2(control, place.name);
            QCOMPARE(control->geometry(), place.geometry);
            QVERIFY2(control->isHidden() != place.shown, place.name);
        }
        const auto* verdicts = window.findChild<QComboBox*>("cbResult");
        QCOMPARE(verdicts->currentText(), QString("全部"));
        QCOMPARE(verdicts->count(), 3);
        QCOMPARE(window.findChild<QLineEdit*>("Edit1")->text(), QString("``````"));
        QVERIFY(!window.findChild<QLineEdit*>("edtClarityFrom")->isEnabled());

        // The tuning shortcut shows the hidden tuning controls, and hides them again.
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::keyClick(&window, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(window.findChild<QPushButton*>("Button7")->isVisible());
        QVERIFY(window.findChild<QWidget*>("GroupBox1")->isVisible());
        QTest::keyClick(&window, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(!window.findChild<QPushButton*>("Button7")->isVisible());
        window.hide();
    }
};

}  // namespace photocheck

QTEST_MAIN(photocheck::StartupTest)
#include "StartupTest.moc"
