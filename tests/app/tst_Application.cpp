// Errors thrown by event handlers end in the application object, which shows their
// text in an error message box and keeps the program running.

#include "core/base/TacknoteError.h"
#include "gui/program/TacknoteApplication.h"

#include "../support/ScriptedMessageBoxes.h"

#include <QTest>
#include <QTimer>

class tst_Application : public QObject {
    Q_OBJECT

public:
    explicit tst_Application(ScriptedMessageBoxes& boxes) : m_boxes(boxes) {}

private Q_SLOTS:
    void handlerErrorIsShown() {
        m_boxes.shown.clear();
        bool ranAfterwards = false;
        QTimer::singleShot(0, this, [] { throw TacknoteError::unableToWrite("/x/stickies.tkn"); });
        QTimer::singleShot(10, this, [&] { ranAfterwards = true; });
        QTRY_VERIFY(ranAfterwards);
        QCOMPARE(m_boxes.shown.size(), 1);
        QCOMPARE(m_boxes.shown.first().title, QStringLiteral("Erro"));
        QCOMPARE(m_boxes.shown.first().text,
                 QStringLiteral("Não foi possível gravar em /x/stickies.tkn"));
        QVERIFY(m_boxes.shown.first().icon == MessageBoxes::Icon::Error);
    }

    void applicationStaysWithoutWindows() { QVERIFY(!QApplication::quitOnLastWindowClosed()); }

private:
    ScriptedMessageBoxes& m_boxes;
};

int main(int argc, char** argv) {
    TacknoteApplication app(argc, argv);
    ScriptedMessageBoxes boxes;
    app.setMessageBoxes(&boxes);
    tst_Application test(boxes);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_Application.moc"
