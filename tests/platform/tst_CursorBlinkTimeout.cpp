#include "platform/desktop/CursorBlinkTimeout.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QStyleHints>
#include <QTest>

class tst_CursorBlinkTimeout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stopsWhenIdleAndBlinksAgainOnInput_data();
    void stopsWhenIdleAndBlinksAgainOnInput();
};

void tst_CursorBlinkTimeout::stopsWhenIdleAndBlinksAgainOnInput_data() {
    QTest::addColumn<QString>("input");
    QTest::newRow("a key") << "key";
    QTest::newRow("a click") << "click";
}

void tst_CursorBlinkTimeout::stopsWhenIdleAndBlinksAgainOnInput() {
    QFETCH(QString, input);

    QStyleHints* hints = QGuiApplication::styleHints();
    hints->setCursorFlashTime(1000);
    QPlainTextEdit edit;
    edit.show();
    {
        CursorBlinkTimeout timeout(50);
        QVERIFY(timeout.blinking());
        QTRY_COMPARE(hints->cursorFlashTime(), 0);
        QVERIFY(!timeout.blinking());

        if (input == QLatin1String("key"))
            QTest::keyClick(&edit, Qt::Key_A);
        else
            QTest::mouseClick(edit.viewport(), Qt::LeftButton);
        QCOMPARE(hints->cursorFlashTime(), 1000);
        QVERIFY(timeout.blinking());
        // Idle again.
        QTRY_COMPARE(hints->cursorFlashTime(), 0);
    }
    // Blinking again once the timeout is gone.
    QCOMPARE(hints->cursorFlashTime(), 1000);
}

QTEST_MAIN(tst_CursorBlinkTimeout)
#include "tst_CursorBlinkTimeout.moc"
