#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <filesystem>

#include "app/PhotoViews.h"
#include "app/ResultsModel.h"
#include "app/Startup.h"
#include "imaging/Jpeg.h"
#include "store/PackageInstall.h"
#include "tests/app/AppTestSupport.h"

namespace photocheck {
namespace {

// A row of the last run, as the run stores it, with its photo in the photo folder.
struct StoredRow {
    const char* name;
    const char* sample;
    const char* verdict;
    int bluePercent;
};

// Two photos of 2023 and two of 2024, each year one passed and one failed.
const StoredRow FourRows[] = {
    {"2023001", "pass-a.jpg", "合格", 50},
    {"2023002", "blurred.jpg", "不合格", 10},
    {"2024001", "pass-b.jpg", "合格", 90},
    {"2024002", "glasses.jpg", "不合格", 30},
};

const QStringList AllFour{"2023001", "2023002", "2024001", "2024002"};

// Types a text as the operator does: the old text selected and replaced, Chinese through the input
// method.
void typeInto(QLineEdit* edit, const QString& text) {
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(edit, &commit);
}

// The window over a working folder whose results table holds the rows given, shown and active, with
// the tuning controls (the range filters among them) in sight.
struct Browser {
    apptest::Folders folders;
    std::unique_ptr<Desktop> desktop;

    template <typename Fill>
    explicit Browser(Fill fill) {
        const std::string work = folders.work + "/";
        InstallWorkFiles(work, apptest::binFolder() + "/xl.oef", {});
        {
            Database db(work + DatabaseFileName, DatabaseKey);
            Transaction transaction(db);
            fill(db);
            transaction.commit();
        }
        desktop = startDesktop({"", folders.work});
        main().show();
        QVERIFY(activate());
        QTest::keyClick(&main(), Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
        grid()->setFocus();
    }
    Browser() : Browser([this](Database& db) { storeFourRows(db); }) {}
    ~Browser() {
        if (desktop) main().hide();
    }

    void storeFourRows(Database& db) const {
        for (const StoredRow& row : FourRows) {
            folders.copySample(row.sample, std::string(row.name) + ".jpg");
            db.run("insert into pictureMsg (name,mode,bluePercent,result,folderPath) values (?,?,?,?,?)",
                   {" " + std::string(row.name) + " ", std::string(" jpg "), int64_t{row.bluePercent},
                    std::string(row.verdict), " " + folders.photos + "/ "});
        }
    }

    TFrmMain& main() const { return desktop->frmMain; }
    bool activate() const {
        main().activateWindow();
        return QTest::qWaitForWindowActive(&main());
    }
    template <typename T>
    T* control(const char* name) const {
        return main().findChild<T*>(name);
    }
    QTableView* grid() const { return control<QTableView>("DBGrid1"); }
    ResultsModel* model() const { return qobject_cast<ResultsModel*>(grid()->model()); }

    void type(const char* edit, const QString& text) const { typeInto(control<QLineEdit>(edit), text); }
    void typeVerdict(const QString& text) const {
        typeInto(control<QComboBox>("cbResult")->lineEdit(), text);
    }
    // A click, and the rows of the query it starts, which is opened beside the window.
    void click(const char* button) const {
        QTest::mouseClick(control<QAbstractButton>(button), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(control<QAbstractButton>("SpeedButton2")->isEnabled(), 20000);
    }
    void query() const { click("SpeedButton2"); }

    // The file names the grid shows, and the ones the table holds.
    QStringList names() const {
        QStringList names;
        for (int row = 0; row < model()->rowCount(); ++row) names << model()->index(row, 0).data().toString();
        return names;
    }
    QStringList storedNames() const {
        Query rows(desktop->dm.ADOConnection1());
        OpenSql(rows, "select * from pictureMsg");
        QStringList names;
        const size_t count = rows.fetchAll();
        for (size_t row = 0; row < count; ++row) names << QString::fromStdString(rows.text(row, "name"));
        return names;
    }
    QString statement() const { return QString::fromStdString(model()->statement()); }
    QString currentName() const { return grid()->currentIndex().siblingAtColumn(0).data().toString(); }
    Bitmap shownPhoto() const { return control<PhotoView>("orgImage")->view()->picture(); }
    Bitmap photoOf(const char* name) const { return decodeJpeg(folders.photos + "/" + name + ".jpg"); }

    void clickRow(int row) const {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                          grid()->visualRect(model()->index(row, 0)).center());
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) const {
        QTest::keyClick(grid(), key, modifiers);
    }
    // The first row's name typed over after F2 and confirmed with Return: the row's edit, written when
    // the row is left. False when no editor opened.
    bool editFirstName(const QString& text) const {
        clickRow(0);
        key(Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(grid()->indexWidget(grid()->currentIndex()));
        if (!editor) return false;
        typeInto(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        return true;
    }
};

}  // namespace

class ResultsBrowserTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { apptest::prepareTestApplication(); }

    void theQueryButtonOpensTheStatementOfTheFiltersTyped() {
        const Browser window;
        window.typeVerdict("合格");
        window.query();
        QCOMPARE(window.statement(), "select * from pictureMsg where  Result= '合格' ");
        QCOMPARE(window.names(), QStringList({"2023001", "2024001"}));

        window.typeVerdict("不合格");
        window.type("edtFileName", "2023");
        window.query();
        QCOMPARE(window.statement(), "select * from pictureMsg where Name like '%2023%'");
        QCOMPARE(window.names(), QStringList({"2023001", "2023002"}));  // the name alone counts

        window.type("edtFileName", "");
        window.typeVerdict("合格");
        window.type("edtBlueFrom", "20");
        window.type("edtBlueTo", "80");
        window.query();
        QCOMPARE(window.statement(),
                 "select * from pictureMsg where bluePercent between 20 and 80 and Result='合格' ");
        QCOMPARE(window.names(), QStringList({"2023001"}));
    }

    void allOverridesTheFileNameAndAnUnknownVerdictOrReversedRangeShowsNoRow() {
        const Browser window;
        window.typeVerdict("全部");
        window.type("edtFileName", "2024");
        window.query();
        QCOMPARE(window.names(), AllFour);

        window.type("edtFileName", "");
        window.typeVerdict("待定");
        window.query();
        QCOMPARE(window.names(), QStringList());

        window.typeVerdict("");
        window.type("edtBlueFrom", "80");
        window.type("edtBlueTo", "20");
        window.query();
        QCOMPARE(window.statement(), "select * from pictureMsg where bluePercent between 80 and 20");
        QCOMPARE(window.names(), QStringList());
    }

    void theClearButtonEmptiesEveryFilterAndAnEmptyQueryThenShowsEveryRow() {
        const Browser window;
        window.typeVerdict("合格");
        window.type("edtBlueFrom", "0");
        window.type("edtBlueTo", "60");
        window.query();
        QCOMPARE(window.names(), QStringList({"2023001"}));

        window.click("Button6");
        QCOMPARE(window.names(), AllFour);
        QCOMPARE(window.control<QComboBox>("cbResult")->currentText(), QString());
        for (const char* edit : {"edtFileName", "edtBlueFrom", "edtBlueTo"})
            QVERIFY2(window.control<QLineEdit>(edit)->text().isEmpty(), edit);
        window.typeVerdict("合格");
        window.query();
        window.click("Button6");
        window.query();
        QCOMPARE(window.statement(), "select * from pictureMsg");
        QCOMPARE(window.names(), AllFour);
    }

    // The cell typed into is written when the operator leaves its row; the next row's photo shows.
    void anEditIsWrittenBackWhenItsRowIsLeft() {
        const Browser window;
        QVERIFY(window.editFirstName("renamed"));
        QTRY_COMPARE(window.names().front(), QString("renamed"));
        QCOMPARE(window.storedNames().front(), QString(" 2023001 "));

        window.key(Qt::Key_Down);
        QCOMPARE(window.storedNames(), QStringList({" renamed ", " 2023002 ", " 2024001 ", " 2024002 "}));
        QCOMPARE(window.names().front(), QString("renamed"));
        QVERIFY(window.shownPhoto() == window.photoOf("2023002"));
    }

    // The grid never shows a value the table does not hold: a refused write is shown, then the stored
    // rows come back.
    void aWriteTheDatabaseRefusesIsShownAndTheStoredValueComesBack() {
        const Browser window;
        window.desktop->dm.ADOConnection1().execute(
            "create trigger refuse before update on pictureMsg when new.name like '%refused%' "
            "begin select raise(abort, 'refused here'); end;");
        QVERIFY(window.editFirstName("refused"));
        const apptest::MessageBoxes boxes;
        window.key(Qt::Key_Down);
        QTRY_COMPARE(boxes.texts().size(), 1);
        QVERIFY2(boxes.texts().front().contains("refused here"), qPrintable(boxes.texts().front()));
        QTRY_COMPARE(window.names().front(), QString("2023001"));
        QCOMPARE(window.storedNames().front(), QString(" 2023001 "));
    }

    void aStatementTheDatabaseRejectsIsShownAndTheGridKeepsItsRows() {
        const Browser window;
        window.desktop->dm.ADOConnection1().execute("alter table pictureMsg rename to elsewhere");
        const apptest::MessageBoxes boxes;
        window.query();
        QTRY_COMPARE(boxes.texts().size(), 1);
        QVERIFY2(boxes.texts().front().contains("pictureMsg"), qPrintable(boxes.texts().front()));
        QCOMPARE(window.names(), AllFour);
    }

    void aDeleteTakesTheSelectedRowsOutOfTheTableOnlyWhenConfirmed() {
        const Browser window;
        window.clickRow(0);
        QTest::mouseClick(window.grid()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          window.grid()->visualRect(window.model()->index(1, 0)).center());
        {
            const apptest::MessageBoxes boxes(QMessageBox::No);
            window.key(Qt::Key_Delete, Qt::ControlModifier);
            QCOMPARE(boxes.texts(), QStringList{"删除选中的记录吗？"});
        }
        QCOMPARE(window.storedNames().size(), 4);
        QCOMPARE(window.names(), AllFour);

        QVERIFY(window.activate());  // the offscreen platform does not give it back when the question goes
        const apptest::MessageBoxes boxes(QMessageBox::Yes);
        window.key(Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(boxes.texts(), QStringList{"删除选中的记录吗？"});
        QCOMPARE(window.storedNames(), QStringList({" 2024001 ", " 2024002 "}));
        QCOMPARE(window.names(), QStringList({"2024001", "2024002"}));
        QCOMPARE(window.currentName(), QString("2024001"));
        QVERIFY(window.shownPhoto() == window.photoOf("2024001"));
    }

    // "photocheck-cli batch" on the same working folder replaces the rows, giving the new ones the row
    // ids of the old: the grid's edit is refused instead of landing on another run's row.
    void anEditAfterAnotherRunReplacedTheRowsIsRefusedAndTheNewRowsShow() {
        const Browser window;
        const std::string others = window.folders.dir.file("others");
        QVERIFY(QDir().mkpath(QString::fromStdString(others)));
        for (const char* name : {"x.txt", "y.txt"}) test::writeFile(others + "/" + name, "x");
        QProcess cli;
        cli.start(QString::fromStdString(apptest::binFolder() + "/photocheck-cli"),
                  {"batch", QString::fromStdString(others), "--work-folder",
                   QString::fromStdString(window.folders.work)});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);

        QVERIFY(window.editFirstName("renamed"));
        const apptest::MessageBoxes boxes;
        window.key(Qt::Key_Down);
        QTRY_COMPARE(
            boxes.texts(),
            QStringList{
                "表格中的记录已被另一次批量检测替换，修改未能保存；表格将重新显示结果表中现在的记录"});
        QCOMPARE(window.storedNames(), QStringList({" x ", " y "}));
        QTRY_COMPARE(window.names(), QStringList({"x", "y"}));
    }

    // A filter the engine needs long for (here every reading of the table counts for seconds): the
    // window keeps answering while it works, and the engine gives up after its time.
    void aSlowQueryLeavesTheWindowAnsweringAndIsCancelledWithAMessage() {
        const Browser window;
        window.desktop->dm.ADOConnection1().execute(
            "alter table pictureMsg rename to stored;"
            "create view pictureMsg as select stored.* from stored, (with recursive c(x) as (select 1 union "
            "all "
            "select x + 1 from c where x < 10000000000) select max(x) from c)");
        int ticks = 0;
        QTimer clock;
        QObject::connect(&clock, &QTimer::timeout, [&ticks] { ++ticks; });
        clock.start(50);
        const apptest::MessageBoxes boxes;
        window.typeVerdict("");
        window.type("edtFileName", "2023");
        QTest::mouseClick(window.control<QAbstractButton>("SpeedButton2"), Qt::LeftButton);
        QVERIFY(!window.control<QAbstractButton>("SpeedButton2")->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(boxes.texts(), QStringList{QueryTooSlowMessage}, 30000);
        QVERIFY2(ticks >= 20, qPrintable(QString("the window answered %1 times in 5 s").arg(ticks)));
        QCOMPARE(window.names(), AllFour);
        QVERIFY(window.control<QAbstractButton>("SpeedButton2")->isEnabled());
    }

    // A name that looks like markup shows as it is, in the cell's tip and in a message box.
    void namesThatLookLikeMarkupShowAsText() {
        const std::string name = "<b>bold</b><img src=x>";
        const apptest::MessageBoxes boxes;  // the first row's photo cannot be read: the message names it
        const Browser window([&name](Database& db) {
            db.run("insert into pictureMsg (name,mode,result,folderPath) values (?,' bmp ','不合格',?)",
                   {" " + name + " ", std::string(" /nowhere/ ")});
        });
        QTextDocument tip;
        tip.setHtml(window.model()->index(0, 0).data(Qt::ToolTipRole).toString());
        QCOMPARE(tip.toPlainText(), QString::fromStdString(name));

        QTRY_COMPARE(boxes.shown().size(), size_t{1});
        QVERIFY2(boxes.texts().front().contains(QString::fromStdString(name)),
                 qPrintable(boxes.texts().front()));
        QCOMPARE(boxes.shown().front().format, Qt::PlainText);
    }

    // An operator judging a failed photo must never look at the previous candidate: a row whose photo
    // is gone empties the photo area, which says why, and the readout reads nothing.
    void aRowWhosePhotoCannotBeShownEmptiesThePhotoAreaAndSaysWhy() {
        const Browser browser;
        std::filesystem::remove(browser.folders.photos + "/2023002.jpg");
        browser.clickRow(0);
        QVERIFY(browser.shownPhoto() == browser.photoOf("2023001"));
        browser.clickRow(1);
        QCOMPARE(browser.currentName(), QString("2023002"));
        QVERIFY(!browser.control<PhotoView>("orgImage")->view()->hasPicture());
        QVERIFY(!browser.control<PhotoView>("showImage")->view()->hasPicture());
        const auto* notice = browser.control<QLabel>("lblNoPhoto");
        QVERIFY(notice->isVisible());
        QVERIFY2(notice->text().startsWith("照片文件不存在"), qPrintable(notice->text()));

        auto* shown = browser.control<PhotoView>("showImage");
        QMouseEvent move(QEvent::MouseMove, QPointF(100, 300), shown->mapToGlobal(QPointF(100, 300)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(shown, &move);
        QVERIFY(browser.control<QLabel>("gray")->text().isEmpty());
        QVERIFY(!browser.control<PhotoView>("orgImage")->view()->hasPicture());

        browser.clickRow(2);
        QVERIFY(!notice->isVisible());
        QVERIFY(browser.shownPhoto() == browser.photoOf("2024001"));
    }

    void aTableLargerThanAPageScrolledToItsEndShowsItsLastRow() {
        constexpr int Rows = 1000;
        const Browser window([](Database& db) {
            for (int i = 0; i < Rows; ++i)
                db.run("insert into pictureMsg (name,mode,result) values (?,' txt ','不合格')",
                       {" p" + std::to_string(i) + " "});
        });
        QVERIFY(window.model()->rowCount() < Rows);
        for (int presses = 0; presses < Rows && window.currentName() != "p999"; ++presses) {
            window.key(Qt::Key_End, Qt::ControlModifier);
            QTest::qWait(1);
        }
        QCOMPARE(window.currentName(), QString("p999"));
        QCOMPARE(window.model()->rowCount(), Rows);
    }

    // The grid lets go of the rows it scrolls away from and reads them again on the way back: the same
    // rows show, and an edit not written yet stays (the row indicator's I-beam) until its row is left.
    void aGridScrolledFarAndBackShowsTheSameRowsAndKeepsAPendingEdit() {
        constexpr int Rows = 5000;
        const Browser window([](Database& db) {
            for (int i = 0; i < Rows; ++i)
                db.run("insert into pictureMsg (name,mode,result) values (?,' txt ','不合格')",
                       {" p" + std::to_string(i) + " "});
        });
        window.clickRow(1);
        window.key(Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(window.grid()->indexWidget(window.grid()->currentIndex()));
        QVERIFY(editor);
        typeInto(editor, "renamed");
        QTest::keyClick(editor, Qt::Key_Return);

        QScrollBar* bar = window.grid()->verticalScrollBar();
        while (window.model()->canFetchMore({})) {
            bar->setValue(bar->maximum());
            QTest::qWait(1);
        }
        QCOMPARE(window.model()->rowCount(), Rows);
        QCOMPARE(window.model()->index(Rows - 1, 0).data().toString(), QString("p4999"));
        while (bar->value() > 0) {
            bar->triggerAction(QAbstractSlider::SliderPageStepSub);
            QTest::qWait(0);
        }

        QStringList expected;
        for (int i = 0; i < Rows; ++i) expected << (i == 1 ? QString("renamed") : "p" + QString::number(i));
        QCOMPARE(window.names(), expected);
        QCOMPARE(window.model()->editedRow(), 1);
        QCOMPARE(window.currentName(), QString("renamed"));
        QCOMPARE(window.storedNames()[1], QString(" p1 "));
        window.key(Qt::Key_Down);
        QCOMPARE(window.storedNames()[1], QString(" renamed "));
        QCOMPARE(window.currentName(), QString("p2"));
    }
};

}  // namespace photocheck

QTEST_MAIN(photocheck::ResultsBrowserTest)
#include "ResultsBrowserTest.moc"
