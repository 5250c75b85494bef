// The dialogs of the platform seams, shown for real (offscreen): each comes up above
// the notes, centred on the screen, with the keyboard focus.

#include "platform/desktop/DialogsAboveNotes.h"
#include "platform/desktop/QtCommonDialogs.h"
#include "platform/desktop/QtMessageBoxes.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QPrinter>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <memory>

namespace {

// What a dialog looked like while it was open.
struct Seen {
    bool found = false;
    bool stayOnTop = false;
    bool active = false;
    QPoint centreOffset;
    QString className;
};

// Opens a dialog with open(), looks at it once it is up and closes it.
Seen openAndLook(const std::function<void()>& open) {
    Seen seen;
    QTimer::singleShot(0, [&seen] {
        QPointer<QWidget> dialog;
        QTRY_VERIFY((dialog = QApplication::activeModalWidget()) && dialog->isVisible());
        QTRY_VERIFY(dialog->isActiveWindow());
        seen.found = true;
        seen.className = QString::fromLatin1(dialog->metaObject()->className());
        seen.stayOnTop = dialog->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
        seen.active = dialog->isActiveWindow();
        seen.centreOffset =
            dialog->frameGeometry().center() - dialog->screen()->availableGeometry().center();
        if (auto* box = qobject_cast<QDialog*>(dialog.data()))
            box->reject();
        else
            dialog->close();
    });
    open();
    return seen;
}

} // namespace

using Opener = std::function<void()>;
Q_DECLARE_METATYPE(Opener)

class tst_DialogsAboveNotes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void dialogsComeUpAboveNotes_data();
    void dialogsComeUpAboveNotes();
    void otherWindowsAreLeftAlone();

private:
    QtMessageBoxes m_boxes;
    QtCommonDialogs m_dialogs;
    std::unique_ptr<QWidget> m_note;
};

void tst_DialogsAboveNotes::initTestCase() {
    DialogsAboveNotes::install();
    // A note kept on top, as the dialogs must come up above it.
    m_note = std::make_unique<QWidget>(nullptr, Qt::Tool | Qt::FramelessWindowHint |
                                                    Qt::WindowStaysOnTopHint);
    m_note->setGeometry(0, 0, 400, 300);
    m_note->show();
}

void tst_DialogsAboveNotes::dialogsComeUpAboveNotes_data() {
    QTest::addColumn<Opener>("open");
    QTest::newRow("message box") << Opener([this] {
        m_boxes.show(MessageBoxes::Icon::Information, QStringLiteral("Aviso"),
                     QStringLiteral("Backup efetuado"));
    });
    QTest::newRow("delete question") << Opener(
        [this] { m_boxes.confirm(QStringLiteral("Deseja realmente eliminar esta nota?")); });
    QTest::newRow("file to save") << Opener([this] {
        m_dialogs.saveFile(nullptr, QStringLiteral("Selecione o Local para Backup"),
                           QDir::tempPath(), QStringLiteral("*.tkn"));
    });
    QTest::newRow("folder") << Opener(
        [this] { m_dialogs.folder(nullptr, QStringLiteral("Pasta"), QDir::tempPath()); });
    QTest::newRow("colour") << Opener([this] { m_dialogs.color(nullptr, 0x7BFFFF); });
    QTest::newRow("print") << Opener([this] {
        QPrinter printer;
        m_dialogs.print(nullptr, printer);
    });
    QTest::newRow("a dialog of the program") << Opener([] {
        QDialog dialog;
        dialog.resize(300, 120);
        dialog.exec();
    });
}

void tst_DialogsAboveNotes::dialogsComeUpAboveNotes() {
    QFETCH(Opener, open);

    const Seen seen = openAndLook(open);
    QVERIFY(seen.found);
    QVERIFY2(seen.stayOnTop, qPrintable(seen.className));
    QVERIFY(seen.active);
    // Centred, give or take the rounding of odd sizes.
    QVERIFY2(
        seen.centreOffset.manhattanLength() <= 2,
        qPrintable(QStringLiteral("%1, %2").arg(seen.centreOffset.x()).arg(seen.centreOffset.y())));
}

void tst_DialogsAboveNotes::otherWindowsAreLeftAlone() {
    QWidget window(nullptr, Qt::Tool | Qt::FramelessWindowHint);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(!window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
}

QTEST_MAIN(tst_DialogsAboveNotes)
#include "tst_DialogsAboveNotes.moc"
