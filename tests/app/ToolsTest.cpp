#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QToolButton>
#include <QtTest>
#include <filesystem>

#include "app/PhotoViews.h"
#include "app/Startup.h"
#include "tests/app/AppTestSupport.h"

namespace photocheck {
namespace {

constexpr int RunTimeoutMs = 60000;
const QString PassedMarker =
    "- - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - 合格";
const QString FailedMarker =
    "- - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - 不合格";

// Answers the file dialogs the program opens with a path, as an operator who types it would, until
// the dialog takes it; a dialog that keeps refusing it is cancelled, so the test fails instead of waiting.
class FileDialogAnswer : public QObject {
  public:
    explicit FileDialogAnswer(std::string path) : path_(std::move(path)) {
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible()) return;
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            if (!name) return;
            if (++answers_ > MaxAnswers) return dialog->reject();
            if (offered_.isEmpty())
                offered_ = QDir::toNativeSeparators(dialog->selectedFiles().value(0, "-"));
            name->setText(QString::fromStdString(path_));
            QTest::keyClick(name, Qt::Key_Return);
        });
        timer_.start(10);
    }

    // The file the dialog offered before the answer was typed, in the system's form.
    const QString& offered() const { return offered_; }

  private:
    static constexpr int MaxAnswers = 50;
    std::string path_;
    int answers_ = 0;
    QString offered_;
    QTimer timer_;
};

struct Window {
    std::unique_ptr<Desktop> desktop;
    explicit Window(const apptest::Folders& folders, const std::string& folderEnd = "")
        : desktop(startDesktop({folders.photos + folderEnd, folders.work})) {
        desktop->frmMain.show();
        QTest::keyClick(&desktop->frmMain, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);  // tuning
    }
    template <typename T>
    T* control(const char* name) const {
        return desktop->frmMain.findChild<T*>(name);
    }
    void click(const char* name) const { QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton); }
    void tick(const char* name, bool ticked) const {
        if (control<QCheckBox>(name)->isChecked() != ticked) click(name);
    }
    void load(const std::string& path) const {
        const FileDialogAnswer answer(path);
        click("btnLoadPicture");
    }
    QStringList log() const { return apptest::linesOf(control<QPlainTextEdit>("Memo2")->toPlainText()); }
    PhotoView* view(const char* name) const { return control<PhotoView>(name); }
    // A pointer move straight to one view, wherever it lies in the stacking of the photo area.
    void moveOver(const char* viewName, int x, int y) const {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y), view(viewName)->mapToGlobal(QPointF(x, y)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view(viewName), &move);
    }
    QString readout() const {
        return control<QLabel>("LbRgb")->text() + " " + control<QLabel>("LbHsv")->text();
    }
};

// Everything painted of a widget from now on.
struct PaintedRegion : QObject {
    QRegion region;
    explicit PaintedRegion(QWidget* widget) {
        QTest::qWait(50);  // the first showing painted it whole
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) region += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

bool hasRows(Database& db) {
    Query rows(db);
    return OpenSql(rows, "select * from pictureMsg");
}

}  // namespace

class ToolsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { apptest::prepareTestApplication(); }

    void aPassedPhotoInDebugModeEndsItsLastLineWithThePassedMarker() {
        const apptest::Folders folders;
        const Window window(folders);
        window.tick("cbDebug", true);
        window.load(apptest::samplesFolder() + "pass-a.jpg");
        QCOMPARE(window.log(), QStringList{"文件名: pass-a"});
        window.click("btncheckPicture");
        const QStringList once = window.log();
        QVERIFY(once.size() > 20);
        QCOMPARE(once[1], QString(49, '='));  // the background check's first line
        QCOMPARE(once[once.size() - 2],
                 "左眼瞳孔，        第1个   X=143  Y=230        第2个   X=153  Y=230" + PassedMarker);
        QCOMPARE(once.last(),
                 window.desktop->frmMain.findChild<QPlainTextEdit*>("Memo2")->document()->lastBlock().text());
        QVERIFY(once.last().startsWith("  蓝比=100%"));

        window.click("btncheckPicture");  // the same photo again: a second full set of lines
        const QStringList twice = window.log();
        QCOMPARE(twice.size(), 2 * once.size() - 1);
        QCOMPARE(twice.mid(once.size()), once.mid(1));
        QVERIFY(!hasRows(window.desktop->dm.ADOConnection1()));  // nothing stored, nothing copied
        QVERIFY(!std::filesystem::exists(folders.dir.file("合格照片")));
    }

    void aStage2FailureGetsTheFailedMarkerAndNoFaceLines() {
        const apptest::Folders folders;
        const Window window(folders);
        window.tick("cbDebug", true);
        window.load(apptest::samplesFolder() + "blurred.jpg");
        window.click("btncheckPicture");
        const QStringList log = window.log();
        QCOMPARE(log[log.size() - 2], "最终的清晰=6442" + FailedMarker);
        QVERIFY(log.last().startsWith("  蓝比=100%  清晰度="));  // the display line
        QVERIFY(log.filter("水平投影区域").isEmpty());
    }

    void withDebugModeClearedOnlyTheLoadLineIsWritten() {
        const apptest::Folders folders;
        const Window window(folders);
        window.load(apptest::samplesFolder() + "glasses.jpg");
        window.click("btncheckPicture");
        QCOMPARE(window.log(), QStringList{"文件名: glasses"});
        QVERIFY(window.view("orgImage")->view()->hasPicture());
    }

    void aPhotoThatCannotBeDecodedIsReportedAndTheLogKeepsItsLine() {
        const apptest::Folders folders;
        test::writeFile(folders.photos + "/broken.jpg", std::string(40 * 1024, 'x'));
        const Window window(folders);
        const apptest::MessageBoxes boxes;
        window.load(folders.photos + "/broken.jpg");
        QTRY_COMPARE(boxes.shown().size(), size_t{1});
        QCOMPARE(window.log(), QStringList{"文件名: broken"});
    }

    void theReadoutFollowsThePointerAndShowImageReadsOrgImage() {
        const apptest::Folders folders;
        const Window window(folders);
        window.load(apptest::samplesFolder() + "pass-a.jpg");
        window.control<QLineEdit>("Edit1")->setText("128");
        window.click("Button1");  // MyImage now holds black and white
        const ImageView& org = *window.view("orgImage")->view();

        window.moveOver("showImage", 169, 300);
        const Colour c = org.picture().pixel(169, 300);
        QVERIFY(window.readout().startsWith(
            QString("x=169,R=%1,G=%2,B=%3 y=300,H=").arg(redOf(c)).arg(greenOf(c)).arg(blueOf(c))));
        QCOMPARE(window.control<QLabel>("gray")->text(), window.control<QLabel>("LbRgb")->text());
        QCOMPARE(window.control<QLabel>("gray")->pos(), QPoint(169, 325));
        QCOMPARE(window.control<QLabel>("HSV")->pos(), QPoint(169, 341));
        const QString overShow = window.readout();
        window.moveOver("orgImage", 169, 300);
        QCOMPARE(window.readout(), overShow);
        window.moveOver("MyImage", 169, 300);
        QVERIFY(window.readout() != overShow);
        QVERIFY(window.readout().contains(",S=0,"));  // black or white

        // Through the see-through tool box to MyImage, in front since the threshold.
        QTest::mouseMove(window.control<QWidget>("GroupBox3"), QPoint(300, 450));
        QVERIFY(window.readout().startsWith("x=300,"));
        QVERIFY(window.readout().contains(" y=435,H=0,S=0,"));

        window.moveOver("showImage", 170, 300);
        QCOMPARE(window.control<QLabel>("gray")->pos(), QPoint(-10, 325));
        const Bitmap& magnified = window.view("IMGmagnify")->view()->picture();
        QCOMPARE(magnified.pixel(52, 52), org.picture().pixel(170, 300));
        QCOMPARE(magnified.pixel(0, 53), makeColour(255, 0, 0));
    }

    void aReadOfTheEmptyPhotoAreaLeavesABlankOfTheViewsSize() {
        const apptest::Folders folders;
        const Window window(folders);
        window.moveOver("showImage", 10, 10);
        const ImageView& org = *window.view("orgImage")->view();
        QVERIFY(org.hasPicture());
        QCOMPARE(org.picture().width(), 391);
        QCOMPARE(org.picture().height(), 563);
    }

    // The blank a read gives the empty view is painted whole, not only where the floating labels were.
    void aPointerOverTheEmptyPhotoAreaRepaintsItWhole() {
        const apptest::Folders folders;
        const Window window(folders);
        QVERIFY(QTest::qWaitForWindowExposed(&window.desktop->frmMain));
        PaintedRegion painted(window.view("orgImage"));
        window.moveOver("showImage", 100, 300);
        window.moveOver("showImage", 120, 320);
        QTRY_VERIFY((QRegion(window.view("orgImage")->rect()) - painted.region).isEmpty());
    }

    void aDragMeasuresTheDistanceAndMoveMouseDisablesTheDebugButtons() {
        const apptest::Folders folders;
        const Window window(folders);
        const apptest::MessageBoxes boxes;
        window.tick("cbCheckLength", true);
        QTest::mousePress(window.view("showImage"), Qt::LeftButton, {}, QPoint(10, 20));
        QTest::mouseRelease(window.view("showImage"), Qt::LeftButton, {}, QPoint(40, 5));
        QTRY_COMPARE(boxes.texts(), QStringList{"垂直方向长度=15    水平方向长度=30"});

        window.tick("cb_moveMouse", true);
        QVERIFY(!window.control<QPushButton>("btnLoadPicture")->isEnabled());
        QVERIFY(!window.control<QPushButton>("btncheckPicture")->isEnabled());
        window.tick("cb_moveMouse", false);
        QVERIFY(window.control<QPushButton>("btnLoadPicture")->isEnabled());
        QVERIFY(window.control<QPushButton>("btncheckPicture")->isEnabled());
    }

    void theThresholdNeedsAWholeNumberAndLeavesOrgImageAlone() {
        const apptest::Folders folders;
        const Window window(folders);
        window.load(apptest::samplesFolder() + "pass-a.jpg");
        const Bitmap photo = window.view("orgImage")->view()->picture();
        const apptest::MessageBoxes boxes;
        window.click("Button1");  // Edit1 still holds its first text
        QTRY_COMPARE(boxes.texts(),
                     QStringList{"数值不是整数（“``````”不是整数：'``````' is not a valid integer value）"});
        QVERIFY(window.view("MyImage")->view()->picture() == photo);

        window.control<QLineEdit>("Edit1")->setText("128");
        window.click("Button1");
        const Bitmap& binary = window.view("MyImage")->view()->picture();
        QVERIFY(binary != photo);
        QVERIFY(binary.pixel(5, 5) == makeColour(255, 255, 255) || binary.pixel(5, 5) == makeColour(0, 0, 0));
        QVERIFY(window.view("orgImage")->view()->picture() == photo);
        QCOMPARE(window.control<QWidget>("GroupBox3")->childAt(200, 500), window.view("MyImage"));  // shown
        window.click("Button4");
        QCOMPARE(window.view("MyImage")->view()->picture().pixel(5, 5) & 0xFF,
                 (window.view("MyImage")->view()->picture().pixel(5, 5) >> 8) & 0xFF);
    }

    void theMeasuredPlacesAreDrawnOverThePhotoNotIntoIt() {
        const apptest::Folders folders;
        const Window window(folders);
        window.tick("cbDebug", true);
        window.load(apptest::samplesFolder() + "glasses.jpg");
        window.click("btncheckPicture");
        const Bitmap photo = window.view("showImage")->view()->picture();
        window.moveOver("showImage", 195, 8);  // inside the top band
        const QString readout = window.readout();
        auto* area = window.control<QWidget>("GroupBox3");
        const QRect photoRect = window.view("showImage")->geometry();
        const QImage plain = area->grab(photoRect).toImage();

        window.tick("cbShowOverlay", true);
        const QImage drawn = area->grab(photoRect).toImage();
        QVERIFY(drawn != plain);
        QVERIFY(window.view("showImage")->view()->picture() == photo);
        window.moveOver("showImage", 195, 8);
        QCOMPARE(window.readout(), readout);
        window.tick("cbShowOverlay", false);
        QCOMPARE(area->grab(photoRect).toImage(), plain);
    }

    void theLastRunsReportIsExportedWhereTheOperatorChooses() {
        const apptest::Folders folders;
        folders.copySample("pass-a.jpg", "a.jpg");
        folders.copySample("blurred.jpg", "b.jpg");
        const Window window(folders, "/");  // the folder named with a final separator
        const apptest::MessageBoxes boxes;
        window.click("btnExportReport");
        QTRY_COMPARE(boxes.texts(), QStringList{"还没有批量检测，没有可导出的检测报告。"});

        window.tick("cbShowOverlay", true);
        QTest::mouseClick(window.control<QToolButton>("SpeedButton1"), Qt::LeftButton);
        QVERIFY(!window.control<QPushButton>("btncheckPicture")->isEnabled());  // not while the run works
        QTRY_VERIFY_WITH_TIMEOUT(window.control<QToolButton>("SpeedButton1")->isEnabled(), RunTimeoutMs);
        QVERIFY(window.control<QPushButton>("btncheckPicture")->isEnabled());
        const std::string page = folders.dir.file("报告.html");
        {
            const FileDialogAnswer answer(page);
            window.click("btnExportReport");
            QCOMPARE(answer.offered(), QString::fromStdString(folders.dir.file("检测报告.html")));  // beside
        }
        QTRY_COMPARE(boxes.texts().size(), 2);
        QCOMPARE(boxes.texts().last(), QString::fromStdString("检测报告已导出到 " + page));
        const std::string html = test::readFile(page);
        QVERIFY(html.find("照片清晰度不够（1 张）") != std::string::npos);
        QVERIFY(html.find("b.jpg") != std::string::npos);
        QVERIFY(html.find("a.jpg") == std::string::npos);  // passed photos have no thumbnail
    }
};

}  // namespace photocheck

QTEST_MAIN(photocheck::ToolsTest)
#include "ToolsTest.moc"
