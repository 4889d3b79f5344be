#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "app/Startup.h"
#include "tests/app/AppTestSupport.h"

namespace photocheck {

class SettingsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { apptest::prepareTestApplication(); }

    // The ratio edits are checked in the order blue, uprightness, head; the refused edit gets the
    // focus with its text selected; a confirmed set goes into the table and the thresholds.
    void confirmChecksTheRatiosInOrderAndStoresTheValues() {
        const apptest::Folders folders;
        const auto desktop = startDesktop({"", folders.work});
        QVERIFY(desktop);
        TfrmPreParameters& dialog = desktop->frmPreParameters;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const auto edit = [&dialog](const char* name) { return dialog.findChild<QLineEdit*>(name); };
        const auto type = [&edit](const char* name, const QString& text) {
            edit(name)->clear();
            QTest::keyClicks(edit(name), text);
        };
        auto* confirm = dialog.findChild<QPushButton*>("Button1");

        type("edtPreBlue", "100");
        type("edtPreRegular", "100");
        type("edtPreHead", "100");
        type("edtPreClarity", "");
        struct Step {
            const char* fix;
            const char* message;
            const char* refused;
        };
        const Step steps[] = {{nullptr, "蓝底比要大于等于0小于100", "edtPreBlue"},
                              {"edtPreBlue", "端正度要大于等于0小于100", "edtPreRegular"},
                              {"edtPreRegular", "头部比要大于等于0小于100", "edtPreHead"}};
        for (const Step& step : steps) {
            if (step.fix) type(step.fix, "99");
            const apptest::MessageBoxes boxes;
            QTest::mouseClick(confirm, Qt::LeftButton);
            QCOMPARE(boxes.texts(), QStringList{step.message});
            QCOMPARE(dialog.focusWidget(), edit(step.refused));
            QCOMPARE(edit(step.refused)->selectedText(), QString("100"));
        }
        QCOMPARE(edit("edtPreClarity")->text(), QString("0"));

        type("edtPreHead", "45");
        const apptest::MessageBoxes boxes;
        QTest::mouseClick(confirm, Qt::LeftButton);
        QCOMPARE(boxes.texts(), QStringList{"设置成功"});
        QVERIFY(dialog.isVisible());
        const DetectionParameters& params = desktop->frmMain.parameters();
        QCOMPARE(params.ParamBlueRatio, 99);
        QCOMPARE(params.ParamClarity, 0);
        QCOMPARE(params.ParamHeadRatio, 45);
        Query stored(desktop->dm.ADOConnection1());
        QVERIFY(OpenSql(stored, "select * from preParameters"));
        QCOMPARE(stored.text(0, "PreRegular"), std::string("99"));
        QCOMPARE(stored.text(0, "PreHead"), std::string("45"));

        dialog.close();
        QVERIFY(dialog.isHidden());
        QCOMPARE(edit("edtPreHead")->text(), QString("45"));
    }
};

}  // namespace photocheck

QTEST_MAIN(photocheck::SettingsTest)
#include "SettingsTest.moc"
