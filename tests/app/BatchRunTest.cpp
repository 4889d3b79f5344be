#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QTableView>
#include <QToolButton>
#include <QtTest>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>

#include "app/PhotoViews.h"
#include "app/Startup.h"
#include "batch/RowsCsv.h"
#include "imaging/Jpeg.h"
#include "platform/WorkFolderLock.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/SystemSupport.h"

namespace photocheck {
namespace {

constexpr int RunTimeoutMs = 60000;

// Every file of the two result folders with its content.
std::map<std::string, std::string> copiesBeside(const apptest::Folders& folders) {
    std::map<std::string, std::string> copies;
    for (const char* folder : {"合格照片", "不合格照片"})
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::u8path(folders.dir.file(folder))))
            copies[std::string(folder) + "/" + entry.path().filename().u8string()] =
                test::readFile(entry.path().u8string());
    return copies;
}

// The rows of pictureMsg as the command line writes them with --csv.
std::string rowsCsv(Database& db) {
    Query rows(db);
    OpenSql(rows, "select * from pictureMsg");
    std::ostringstream out;
    writeRowsCsv(rows, out);
    return out.str();
}

QString panel(const TFrmMain& window, const char* name) {
    return window.findChild<QLabel*>(name)->text();
}

struct Window {
    std::unique_ptr<Desktop> desktop;
    explicit Window(const apptest::Folders& folders) : desktop(startDesktop({folders.photos, folders.work})) {
        desktop->frmMain.show();
    }
    TFrmMain& main() const { return desktop->frmMain; }
    template <typename T>
    T* control(const char* name) const {
        return main().findChild<T*>(name);
    }
    void clickRun() const { QTest::mouseClick(control<QToolButton>("SpeedButton1"), Qt::LeftButton); }
    // The run has ended and the results it left are shown again (opened aside, the query button
    // disabled meanwhile).
    bool idle() const {
        return control<QToolButton>("SpeedButton1")->isEnabled() &&
               control<QToolButton>("SpeedButton2")->isEnabled();
    }
    QStringList log() const { return apptest::linesOf(control<QPlainTextEdit>("Memo2")->toPlainText()); }
};

// The rows of pictureMsg when the window closes with no run working, counted as the close begins,
// before the window lets go of the database and deletes it.
class RowsAtClose : public QObject {
  public:
    explicit RowsAtClose(const Window& window) : window_(window) { window.main().installEventFilter(this); }
    int count() const { return count_; }

  private:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Close && window_.idle()) {
            Query rows(window_.desktop->dm.ADOConnection1());
            OpenSql(rows, "select count(*) as n from pictureMsg");
            count_ = std::stoi(rows.text(0, "n"));
        }
        return false;
    }
    const Window& window_;
    int count_ = -1;
};

}  // namespace

class BatchRunTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { apptest::prepareTestApplication(); }

    void aRunFromTheToolbarMatchesTheCommandLine() {
        const apptest::Folders folders;
        test::writeFile(folders.photos + "/notes.txt", "notes");  // the first row: no photo, the log stays
        folders.copySample("pass-a.jpg", "pass-a.jpg");
        folders.copySample("small-file.jpg", "small-file.jpg");
        folders.copySample("pass-b.jpg", "sub/pass-b.jpg");
        folders.copySample("pass-c.jpg", "sub/pass-a.jpg");  // a second name: its copy is not made

        const Window window(folders);
        window.clickRun();
        QVERIFY(!window.idle());
        QTRY_VERIFY_WITH_TIMEOUT(window.idle(), RunTimeoutMs);
        const QStringList log = window.log();
        const std::string windowRows = rowsCsv(window.desktop->dm.ADOConnection1());
        const auto windowCopies = copiesBeside(folders);
        const auto* progress = window.control<QProgressBar>("ProgressBar1");
        QCOMPARE(progress->maximum(), 5);
        QCOMPARE(progress->value(), 5);
        QCOMPARE(panel(window.main(), "StatusPanel1"), QString("3"));
        QCOMPARE(panel(window.main(), "StatusPanel3"), QString("2"));
        const auto* grid = window.control<QTableView>("DBGrid1");
        QCOMPARE(grid->model()->rowCount(), 5);
        QCOMPARE(grid->currentIndex().row(), 0);

        QProcess cli;
        cli.start(QString::fromStdString(apptest::binFolder() + "/photocheck-cli"),
                  {"batch", QString::fromStdString(folders.photos), "--work-folder",
                   QString::fromStdString(folders.dir.file("cli-work")), "--csv",
                   QString::fromStdString(folders.dir.file("rows.csv"))});
        QVERIFY(cli.waitForFinished(RunTimeoutMs));
        QCOMPARE(cli.exitCode(), 0);
        QCOMPARE(log, apptest::linesOf(QString::fromUtf8(cli.readAllStandardOutput()).trimmed()));
        QCOMPARE(log.size(), 7);
        QCOMPARE(windowRows, test::readFile(folders.dir.file("rows.csv")));
        QCOMPARE(windowCopies, copiesBeside(folders));
        QCOMPARE(windowCopies.size(), size_t{4});
    }

    // The lines of a run reach the pane a batch at a time; at the end it holds all of them, in the
    // order the command line prints them.
    void aLongRunsLogHoldsEveryLineInOrder() {
        const apptest::Folders folders;
        test::writeFile(folders.photos + "/notes.txt", "notes");  // the first row: no photo, the log stays
        folders.copySample("small-file.jpg", "p000.jpg");
        constexpr int Photos = 600;
        for (int i = 1; i < Photos; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "/p%03d.jpg", i);
            std::filesystem::create_hard_link(folders.photos + "/p000.jpg", folders.photos + name);
        }
        const Window window(folders);
        window.clickRun();
        QTRY_VERIFY_WITH_TIMEOUT(window.idle(), RunTimeoutMs);
        const QStringList log = window.log();

        QProcess cli;
        cli.start(QString::fromStdString(apptest::binFolder() + "/photocheck-cli"),
                  {"batch", QString::fromStdString(folders.photos), "--work-folder",
                   QString::fromStdString(folders.dir.file("cli-work"))});
        QVERIFY(cli.waitForFinished(RunTimeoutMs));
        QCOMPARE(cli.exitCode(), 0);
        QCOMPARE(log.size(), Photos + 3);  // the count line, a line per file, the summary
        QCOMPARE(log, apptest::linesOf(QString::fromUtf8(cli.readAllStandardOutput()).trimmed()));
        QCOMPARE(window.control<QProgressBar>("ProgressBar1")->value(), Photos + 1);
    }

    void theEndOfARunShowsTheFirstRowsPhotoAndClearsTheLog() {
        const apptest::Folders folders;
        folders.copySample("pass-a.jpg", "a.jpg");
        folders.copySample("blurred.jpg", "b.jpg");
        const Window window(folders);
        window.clickRun();
        QTRY_VERIFY_WITH_TIMEOUT(window.idle(), RunTimeoutMs);
        const ImageView* shown = window.control<PhotoView>("orgImage")->view();
        QVERIFY(shown->hasPicture());
        QVERIFY(shown->picture() == decodeJpeg(folders.photos + "/a.jpg"));
        QCOMPARE(window.log(), QStringList());
        QCOMPARE(panel(window.main(), "StatusPanel1"), QString("1"));
    }

    void aRefusedRunShowsItsMessage() {
        const apptest::Folders folders;
        const auto desktop = startDesktop({"", folders.work});
        QVERIFY(desktop);
        const apptest::MessageBoxes boxes;
        QTest::mouseClick(desktop->frmMain.findChild<QToolButton*>("SpeedButton1"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(boxes.texts(), QStringList{"请选择照片路径的文件夹！！"}, RunTimeoutMs);
        QVERIFY(desktop->frmMain.findChild<QToolButton*>("SpeedButton1")->isEnabled());
    }

    void aRunWithAMissingCopySaysSoInAMessageBox() {
        const apptest::Folders folders;
        const test::UnreadableFile gone(folders.photos + "/gone.jpg");
        const Window window(folders);
        const apptest::MessageBoxes boxes;
        window.clickRun();
        QTRY_VERIFY_WITH_TIMEOUT(window.idle(), RunTimeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(boxes.texts().size(), 1, RunTimeoutMs);
        QVERIFY2(boxes.texts().front().contains("有 1 张照片未能复制"), qPrintable(boxes.texts().front()));
        QCOMPARE(panel(window.main(), "StatusPanel3"), QString("1"));
    }

    // Only the refusal for no folder chosen leaves the preview off: after the others (here another run
    // holding the working folder) choosing a row shows its photo again.
    void aRunRefusedForABusyWorkingFolderLeavesThePreviewAsItWas() {
        const apptest::Folders folders;
        folders.copySample("pass-a.jpg", "a.jpg");
        folders.copySample("blurred.jpg", "b.jpg");
        const Window window(folders);
        window.clickRun();
        QTRY_VERIFY_WITH_TIMEOUT(window.idle(), RunTimeoutMs);
        {
            const WorkFolderLock otherRun(folders.work + "/");
            const apptest::MessageBoxes boxes;
            window.clickRun();
            QTRY_COMPARE_WITH_TIMEOUT(boxes.texts().size(), 1, RunTimeoutMs);
            QVERIFY2(boxes.texts().front().startsWith("另一个检测正在使用工作文件夹"),
                     qPrintable(boxes.texts().front()));
        }
        QTRY_VERIFY(window.idle());
        auto* grid = window.control<QTableView>("DBGrid1");
        grid->setCurrentIndex(grid->model()->index(1, 0));
        const ImageView* shown = window.control<PhotoView>("orgImage")->view();
        QVERIFY(shown->hasPicture());
        QVERIFY(shown->picture() == decodeJpeg(folders.photos + "/b.jpg"));
    }

    // "结果" changed while the run works: the grid at its end holds the rows of the verdict it shows,
    // and the status bar counts the photos shown done by the progress bar.
    void theVerdictChosenDuringARunIsTheOneTheGridShowsAndTheCountsRunAlong() {
        const apptest::Folders folders;
        folders.copySample("pass-a.jpg", "a.jpg");
        folders.copySample("small-file.jpg", "b.jpg");
        folders.copySample("blurred.jpg", "c.jpg");
        const Window window(folders);
        auto* verdict = window.control<QComboBox>("cbResult");
        QStringList mismatches;
        QString lastCounts;
        connect(window.control<QProgressBar>("ProgressBar1"), &QProgressBar::valueChanged, &window.main(),
                [&](int value) {
                    if (value < 1) return;
                    const QString passed = panel(window.main(), "StatusPanel1");
                    const QString failed = panel(window.main(), "StatusPanel3");
                    if (passed.toInt() + failed.toInt() != value)
                        mismatches << passed + "+" + failed + " at " + QString::number(value);
                    if (lastCounts.isEmpty()) verdict->setCurrentIndex(verdict->findText("合格"));
                    lastCounts = passed + "/" + failed;
                });
        window.clickRun();
        QTRY_VERIFY_WITH_TIMEOUT(window.idle(), RunTimeoutMs);
        QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches.join(", ")));
        QCOMPARE(lastCounts, QString("1/2"));
        QCOMPARE(verdict->currentText(), QString("合格"));
        const auto* grid = window.control<QTableView>("DBGrid1");
        QCOMPARE(grid->model()->rowCount(), 1);
        QCOMPARE(grid->model()->index(0, 0).data().toString(), QString("a"));
    }

    // A close while the run prepares (emptying the result folders of an earlier run, walking the
    // folder) stops it there: the window says it is closing, does not wait, and is gone at once.
    void closingWhileARunPreparesStopsItBeforeItsPhotos() {
        const apptest::Folders folders;
        folders.copySample("small-file.jpg", "p0.jpg");
        const std::string earlierCopies = folders.dir.file("不合格照片");
        std::filesystem::create_directories(earlierCopies);
        for (int i = 0; i < 4000; ++i)
            std::filesystem::create_hard_link(folders.photos + "/p0.jpg",
                                              earlierCopies + "/old" + std::to_string(i) + ".jpg");
        for (int i = 1; i < 2000; ++i)
            std::filesystem::create_hard_link(folders.photos + "/p0.jpg",
                                              folders.photos + "/p" + std::to_string(i) + ".jpg");
        const Window window(folders);
        window.clickRun();
        QElapsedTimer sinceClose;
        sinceClose.start();
        QVERIFY(!window.main().close());  // not yet: the run is asked to stop
        QVERIFY(sinceClose.elapsed() < 500);
        QVERIFY(window.main().windowTitle().contains("正在停止检测"));
        QTRY_VERIFY_WITH_TIMEOUT(!window.main().isVisible(), RunTimeoutMs);
        QVERIFY2(sinceClose.elapsed() < 3000, qPrintable(QString::number(sinceClose.elapsed())));
        for (const QString& line : window.log())
            QVERIFY2(!line.startsWith("此文件夹照片一共有"), qPrintable(line));
        QVERIFY(!test::fileExists(folders.work + "/qob.trd"));
    }

    // Closing the window while the run works stops it after the photos in work; every photo that was
    // counted has its row and its copy, and then the working files are deleted as at any close.
    void closingDuringARunKeepsEveryRowWritten() {
        const apptest::Folders folders;
        constexpr int Photos = 400;
        for (int i = 0; i < Photos; ++i)
            folders.copySample("small-file.jpg", "p" + std::to_string(i) + ".jpg");
        const Window window(folders);
        const RowsAtClose rows(window);
        auto* progress = window.control<QProgressBar>("ProgressBar1");
        connect(progress, &QProgressBar::valueChanged, &window.main(), [&window](int value) {
            if (value >= 1 && window.main().isVisible()) window.main().close();
        });
        window.clickRun();
        QTRY_VERIFY_WITH_TIMEOUT(!window.main().isVisible(), RunTimeoutMs);
        QVERIFY(window.idle());

        const int done = progress->value();
        QVERIFY2(done >= 1 && done < Photos, qPrintable(QString::number(done)));
        QCOMPARE(window.log().size(), 1 + done);  // the count line, then one line per photo
        QCOMPARE(rows.count(), done);
        QCOMPARE(static_cast<int>(copiesBeside(folders).size()), done);
        QVERIFY(!test::fileExists(folders.work + "/qob.trd"));
        QVERIFY(!test::fileExists(folders.work + "/SetParameters.ini"));
    }
};

}  // namespace photocheck

QTEST_MAIN(photocheck::BatchRunTest)
#include "BatchRunTest.moc"
