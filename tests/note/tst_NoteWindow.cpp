// The note window: its layout, colours, text and what it shows of itself.

#include "core/notes/DarkenedCaptionColor.h"
#include "core/notes/NoteStore.h"
#include "core/store/IniFile.h"
#include "gui/note/NotePopupMenu.h"
#include "gui/note/WinColor.h"
#include "platform/system/QtLocaleInfo.h"
#include "tests/note/NoteUnderTest.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>

#include <memory>

using TestNote = NoteUnderTest;

class tst_NoteWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void layout_data();
    void layout();
    void darkenedCaptionColor_data();
    void darkenedCaptionColor();
    void windowsColours();
    void captionTooltip_data();
    void captionTooltip();
    void peerTextShowsAsPlainText();
    void noteTextLineBreaks();
    void typedLineBreaks_data();
    void typedLineBreaks();
    void textStaysWithinTheFileLimit_data();
    void textStaysWithinTheFileLimit();
    void displayedLinesFollowTheWrapping();
    void topmostKeepsGeometryAndStaysOffTaskbar();
    void windowTitleIsTheCaption();
    void textShowsInTheNotesFont_data();
    void textShowsInTheNotesFont();
    void longCaptionEndsInEllipsis();
    void hintsShowOnInactiveNote();
    void loadedNoteShowsOnceAsItIs();
    void seedNoteTextFits_data();
    void seedNoteTextFits();
    void recordHoldsWhatTheWindowShows();
};

void tst_NoteWindow::layout_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("footer");

    QTest::newRow("design size") << QSize(170, 120) << false;
    QTest::newRow("design size, footer") << QSize(170, 120) << true;
    QTest::newRow("minimum, footer") << QSize(80, 40) << true;
    QTest::newRow("large") << QSize(640, 480) << false;
}

// The caption bar across the top with the hide and delete buttons at its right end, the
// text below it, the footer of a received note under the text: nothing overlaps, and
// everything is inside the window.
void tst_NoteWindow::layout() {
    QFETCH(QSize, size);
    QFETCH(bool, footer);

    TestNote note;
    if (footer)
        note.window->setFooter(QStringLiteral("De Ana (10.0.0.7)"));
    note.window->resize(size);
    note.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(note.window.get()));
    const QRect window(QPoint(0, 0), size);
    const QRect caption = note.part<QWidget>("pnlCaption")->geometry();
    const QRect text = note.memPostit()->geometry();
    const QRect hide = note.part<QPushButton>("cmdEsconder")->geometry();
    const QRect erase = note.part<QPushButton>("cmdApagarPostit")->geometry();
    QCOMPARE(caption.topLeft(), QPoint(0, 0));
    QCOMPARE(caption.width(), size.width());
    QVERIFY(window.contains(text));
    QVERIFY(text.top() > caption.bottom());
    QVERIFY(caption.contains(hide) && caption.contains(erase));
    QCOMPARE(erase.right(), caption.right());
    QVERIFY(hide.right() < erase.left());
    QVERIFY(note.lblCaption()->x() < hide.left());
    QCOMPARE(note.window->footerVisible(), footer);
    if (footer) {
        const QRect footerArea = note.pnlRodape()->geometry();
        QVERIFY(window.contains(footerArea));
        // The text ends exactly where the footer begins.
        QCOMPARE(text.bottom() + 1, footerArea.top());
    }
}

void tst_NoteWindow::darkenedCaptionColor_data() {
    QTest::addColumn<int>("color");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("expected");
    QTest::newRow("pale yellow") << 0x0080FFFF << 12 << 0x005CDBDB;
    QTest::newRow("design yellow") << 0x007BFFFF << 12 << 0x0057DBDB;
    QTest::newRow("floored at zero") << 0x00123456 << 12 << 0x00001032;
    QTest::newRow("zero components stay zero") << 0x000000FF << 12 << 0x000000DB;
    QTest::newRow("0x14 becomes zero") << 0x00141414 << 12 << 0x00000000;
    QTest::newRow("step 1") << 0x00FFFFFF << 1 << 0x00FCFCFC;
    QTest::newRow("step 25") << 0x00FFFFFF << 25 << 0x00B4B4B4;
    QTest::newRow("huge step from a damaged file") << 0x00FFFFFF << 2000000000 << 0;
}

void tst_NoteWindow::darkenedCaptionColor() {
    QFETCH(int, color);
    QFETCH(int, step);
    QFETCH(int, expected);
    QCOMPARE(DarkenedCaptionColor(color, step), expected);
}

void tst_NoteWindow::windowsColours() {
    // Red sits in the lowest byte.
    QCOMPARE(WinColor::toQColor(0x00123456), QColor(0x56, 0x34, 0x12));
    QCOMPARE(WinColor::fromQColor(QColor(0x56, 0x34, 0x12)), 0x00123456);
    QCOMPARE(WinColor::toQColor(int(0xFF0000FFu)), QColor(0xFF, 0, 0));

    TestNote note;
    note.window->setColor(0x00C0FFEE);
    note.window->setCaptionColor(DarkenedCaptionColor(0x00C0FFEE, 5));
    QCOMPARE(note.window->Color(), 0x00C0FFEE);
    QCOMPARE(note.memPostit()->palette().color(QPalette::Base), QColor(0xEE, 0xFF, 0xC0));
    QCOMPARE(note.window->captionColor(), 0x00B1F0DF);
}

void tst_NoteWindow::captionTooltip_data() {
    QTest::addColumn<int>("spare");
    QTest::addColumn<bool>("tooltip");
    QTest::newRow("label exactly width - 40") << 0 << false;
    QTest::newRow("label one pixel wider") << -1 << true;
    QTest::newRow("short label") << 30 << false;
}

void tst_NoteWindow::captionTooltip() {
    QFETCH(int, spare);
    QFETCH(bool, tooltip);

    TestNote note;
    const QString title = QStringLiteral("Reunião <b>anual</b> & orçamento de 2027");
    note.window->setCaption(title);
    // The caption label sized to the whole caption.
    QLabel whole(title);
    whole.setTextFormat(Qt::PlainText);
    whole.setFont(note.lblCaption()->font());
    const int labelWidth = whole.sizeHint().width();
    QVERIFY(labelWidth + 40 + spare >= 80);
    note.window->resize(labelWidth + 40 + spare, 120);

    note.window->lblCaptionMouseEnter();
    if (!tooltip) {
        QVERIFY(note.window->toolTip().isEmpty());
        return;
    }
    // The tooltip shows the caption as typed, markup characters included.
    QTextDocument shown;
    shown.setHtml(note.window->toolTip());
    QCOMPARE(shown.toPlainText(), title);
}

void tst_NoteWindow::peerTextShowsAsPlainText() {
    TestNote note;
    note.window->setCaption(QStringLiteral("<b>x</b>"));
    note.window->setFooter(QStringLiteral("De <i>Ana</i> (10.0.0.7)"));
    note.window->setNote(QStringLiteral("<h1>oi</h1>"));
    QCOMPARE(note.lblCaption()->textFormat(), Qt::PlainText);
    QCOMPARE(note.part<QLabel>("lblRodape")->textFormat(), Qt::PlainText);
    QCOMPARE(note.lblCaption()->text(), QStringLiteral("<b>x</b>"));
    QCOMPARE(note.window->note(), QStringLiteral("<h1>oi</h1>"));
    QVERIFY(note.part<QLabel>("lblRodape")->font().italic());
}

void tst_NoteWindow::noteTextLineBreaks() {
    TestNote note;
    note.window->setNote(QStringLiteral("um\r\ndois\rtrês\nquatro\r\n\r\n"));
    QCOMPARE(note.window->note(), QStringLiteral("um\r\ndois\r\ntrês\r\nquatro\r\n\r\n"));
    note.window->setNote(QStringLiteral("a\u00A0b"));
    QCOMPARE(note.window->note(), QStringLiteral("a\u00A0b"));
}

void tst_NoteWindow::typedLineBreaks_data() {
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Enter") << int(Qt::NoModifier);
    QTest::newRow("Shift+Enter") << int(Qt::ShiftModifier);
}

void tst_NoteWindow::typedLineBreaks() {
    QFETCH(int, modifiers);
    TestNote note;
    note.window->show();
    QTest::keyClicks(note.memPostit(), QStringLiteral("um"));
    QTest::keyClick(note.memPostit(), Qt::Key_Return, Qt::KeyboardModifiers(modifiers));
    QTest::keyClicks(note.memPostit(), QStringLiteral("dois"));
    QCOMPARE(note.window->note(), QStringLiteral("um\r\ndois"));
    // Separators that other programs put into pasted text are line breaks as well.
    QApplication::clipboard()->setText(QString::fromUtf8("\u2028tr\u00eas\u2029quatro"));
    note.memPostit()->paste();
    QCOMPARE(note.window->note(), QStringLiteral("um\r\ndois\r\ntrês\r\nquatro"));
    QCOMPARE(note.window->displayedLines().size(), 4);
}

void tst_NoteWindow::textStaysWithinTheFileLimit_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("incoming");
    QTest::addColumn<int>("storedAfter");
    const QString nearlyFull(2040, QLatin1Char('a'));
    QTest::newRow("typing") << nearlyFull << "type" << QString(20, QLatin1Char('b')) << 2047;
    QTest::newRow("pasting") << QString() << "paste" << QString(5000, QLatin1Char('c')) << 2047;
    // A line break takes two characters in the file and is not split.
    QTest::newRow("pasted lines") << QString() << "paste" << QString("ab\n").repeated(700) << 2046;
    QTest::newRow("Enter at the limit")
        << QString(2046, QLatin1Char('a')) << "enter" << QString() << 2046;
    QTest::newRow("replacing a selection")
        << QString(2047, QLatin1Char('a')) << "select all and paste" << QStringLiteral("xyz") << 3;
}

void tst_NoteWindow::textStaysWithinTheFileLimit() {
    QFETCH(QString, before);
    QFETCH(QString, how);
    QFETCH(QString, incoming);
    QFETCH(int, storedAfter);
    TestNote note;
    note.window->show();
    note.window->setNote(before);
    note.memPostit()->moveCursor(QTextCursor::End);
    if (how == QLatin1String("type")) {
        QTest::keyClicks(note.memPostit(), incoming);
    } else if (how == QLatin1String("enter")) {
        QTest::keyClick(note.memPostit(), Qt::Key_Return);
    } else {
        if (how.startsWith(QLatin1String("select")))
            note.memPostit()->selectAll();
        QApplication::clipboard()->setText(incoming);
        note.memPostit()->paste();
    }
    const QString stored = NoteStore::encodeText(note.window->note());
    QCOMPARE(stored.size(), storedAfter);
    // What the file keeps is exactly what the note shows.
    QCOMPARE(NoteStore::decodeText(IniFile::cleanValue(stored)),
             note.window->note().trimmed().isEmpty() ? note.window->note()
                                                     : NoteStore::decodeText(stored));
}

void tst_NoteWindow::displayedLinesFollowTheWrapping() {
    TestNote note;
    note.window->setBounds(10, 10, 170, 120);
    note.window->show();
    note.window->setNote(QStringLiteral("curta\r\n") + QString(200, QLatin1Char('x')) +
                         QStringLiteral("\r\n"));
    const QStringList lines = note.window->displayedLines();
    QVERIFY(lines.size() > 2); // the long paragraph wraps
    QCOMPARE(lines.first(), QStringLiteral("curta"));
    QCOMPARE(lines.mid(1).join(QString()), QString(200, QLatin1Char('x')));
    note.window->setNote(QString());
    QVERIFY(note.window->displayedLines().isEmpty());
}

void tst_NoteWindow::topmostKeepsGeometryAndStaysOffTaskbar() {
    TestNote note;
    note.window->setBounds(150, 140, 230, 160);
    note.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(note.window.get()));
    const QRect before = note.window->bounds();
    QCOMPARE(note.hints.requests, QStringList{QStringLiteral("before mapping")});

    // The window shown again after the change is kept out of the task bar once more,
    // when it is on screen, as a native window the toolkit may have replaced.
    note.window->popPrincipal->mnuOnTop->trigger();
    QTRY_COMPARE(note.hints.requests.last(), QStringLiteral("on screen on top"));
    QVERIFY(note.window->topmost());
    QVERIFY(note.window->popPrincipal->mnuOnTop->isChecked());
    QVERIFY(note.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(note.window->windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(note.window->isVisible());
    QCOMPARE(note.window->bounds(), before);

    note.hints.requests.clear();
    note.window->popPrincipal->mnuOnTop->trigger();
    QTRY_COMPARE(note.hints.requests.last(), QStringLiteral("on screen"));
    QVERIFY(!note.window->topmost());
    QVERIFY(!note.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(note.window->bounds(), before);

    // A hidden note stays hidden.
    note.window->hide();
    note.window->setTopmost(true);
    QVERIFY(note.window->isHidden());
    QCOMPARE(note.window->bounds(), before);
    // ... and, shown later, is kept out of the task bar once it is on screen.
    note.hints.requests.clear();
    note.window->show();
    QTRY_COMPARE(note.hints.requests, QStringList({QStringLiteral("before mapping on top"),
                                                   QStringLiteral("on screen on top")}));
}

void tst_NoteWindow::windowTitleIsTheCaption() {
    TestNote note;
    note.window->setCaption(QStringLiteral("Lista [*] da feira"));
    note.window->winId();
    QCOMPARE(note.window->windowHandle()->title(), QStringLiteral("Lista [*] da feira"));
}

void tst_NoteWindow::textShowsInTheNotesFont_data() {
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("shownAs");
    QTest::addColumn<bool>("fixedPitch");
    // The metric-compatible faces installed for the Windows names.
    QTest::newRow("Courier New") << "Courier New"
                                 << "Liberation Mono" << true;
    QTest::newRow("Arial") << "Arial"
                           << "Liberation Sans" << false;
    QTest::newRow("Times New Roman") << "Times New Roman"
                                     << "Liberation Serif" << false;
    // Faces the desktop replaces by their kind: the substitute must keep that kind.
    QTest::newRow("Consolas") << "Consolas" << QString() << true;
    QTest::newRow("Georgia") << "Georgia" << QString() << false;
}

void tst_NoteWindow::textShowsInTheNotesFont() {
    QFETCH(QString, face);
    QFETCH(QString, shownAs);
    QFETCH(bool, fixedPitch);

    TestNote note;
    note.window->setMemoFont(NoteFont{face, 8, 0xFFFFFF, true, false});
    const QFontInfo shown(note.memPostit()->font());
    if (shownAs.isEmpty())
        shownAs = QFontInfo(QFont(face, 8)).family();
    QCOMPARE(shown.family(), shownAs);
    // Measured, not asked: fontconfig marks some monospaced faces (Noto Sans Mono) as
    // proportional.
    const QFontMetrics metrics(note.memPostit()->font());
    QCOMPARE(metrics.horizontalAdvance(QLatin1Char('i')) ==
                 metrics.horizontalAdvance(QLatin1Char('W')),
             fixedPitch);
    QVERIFY(shown.bold());
    QCOMPARE(shown.pointSize(), 8);
}

void tst_NoteWindow::longCaptionEndsInEllipsis() {
    TestNote note;
    const QString title =
        QStringLiteral("Reunião de planejamento do orçamento anual de 2027 com a diretoria");
    note.window->setCaption(title);
    note.window->setBounds(100, 100, 170, 120);
    note.window->show();

    const QString shown = note.lblCaption()->text();
    QVERIFY2(shown.endsWith(QChar(0x2026)), qPrintable(shown));
    QVERIFY(title.startsWith(shown.chopped(1)));
    QVERIFY(note.lblCaption()->geometry().right() < note.part<QWidget>("cmdEsconder")->x());
    QCOMPARE(note.window->caption(), title);
    QCOMPARE(note.window->toRecord().caption, title);
    note.window->lblCaptionMouseEnter();
    QVERIFY(note.window->toolTip().contains(title.toHtmlEscaped()));

    // Room enough: the whole caption again.
    note.window->resize(1000, 120);
    QCOMPARE(note.lblCaption()->text(), title);
}

void tst_NoteWindow::hintsShowOnInactiveNote() {
    TestNote note;
    note.window->setBounds(100, 100, 170, 120);
    note.window->show();
    QWidget other;
    other.setGeometry(400, 100, 100, 100);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(!note.window->isActiveWindow());

    auto* hideButton = note.part<QWidget>("cmdEsconder");
    QTest::mouseMove(hideButton, QPoint(5, 5));
    QTest::mouseMove(hideButton, QPoint(6, 6));
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), hideButton->toolTip());
    QToolTip::hideText();
}

// Records what a window holds at the moment it is shown.
class ShowWatcher final : public QObject {
public:
    explicit ShowWatcher(TfPostIt* window) : m_window(window) { window->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_window && event->type() == QEvent::Show) {
            ++shows;
            atShow = m_window->toRecord();
            activating = !m_window->testAttribute(Qt::WA_ShowWithoutActivating);
        }
        return false;
    }
    TfPostIt* m_window;
    int shows = 0;
    bool activating = true;
    NoteRecord atShow;
};

void tst_NoteWindow::loadedNoteShowsOnceAsItIs() {
    NoteRecord record;
    record.caption = QStringLiteral("Compras");
    record.note = QStringLiteral("pão\r\nleite");
    record.posx = 210;
    record.posy = 130;
    record.Width = 250;
    record.Height = 150;
    record.Color = 0x00C0FFEE;
    record.FontName = QStringLiteral("Courier New");
    record.FontSize = 12;
    record.FontBold = true;
    record.topmost = true;
    record.footer = QStringLiteral("De Ana (10.0.0.7)");
    record.visible = true;

    TestNote note;
    ShowWatcher watcher(note.window.get());
    note.window->applyRecord(record);
    // Shown once, last, with everything in place, and without taking the focus.
    QCOMPARE(watcher.shows, 1);
    QVERIFY(!watcher.activating);
    QCOMPARE(watcher.atShow, note.window->toRecord());
    QCOMPARE(watcher.atShow.FontName, record.FontName);
    QCOMPARE(watcher.atShow.note, record.note);
    QCOMPARE(watcher.atShow.posx, record.posx);
    QCOMPARE(watcher.atShow.Width, record.Width);
    QVERIFY(note.window->isVisible());
}

void tst_NoteWindow::seedNoteTextFits_data() {
    QTest::addColumn<QString>("seed");
    QTest::newRow("Portuguese") << QStringLiteral("default_ptb.tkn");
    QTest::newRow("English") << QStringLiteral("default_enu.tkn");
}

void tst_NoteWindow::seedNoteTextFits() {
    QFETCH(QString, seed);

    IniFile file(QStringLiteral(TACKNOTE_PROGRAM_DIR "/") + seed, IniFile::Mode::Batched);
    const QtLocaleInfo locale{QLocale(QLocale::Portuguese, QLocale::Brazil)};
    TestNote note;
    note.window->applyRecord(NoteStore::read(file, 0, locale, QDateTime::currentDateTime()));
    QVERIFY(!note.window->note().isEmpty());
    note.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(note.window.get()));
    // Every line shows without scrolling.
    QCOMPARE(note.memPostit()->verticalScrollBar()->maximum(), 0);
}

void tst_NoteWindow::recordHoldsWhatTheWindowShows() {
    TestNote note;
    note.window->setCaption(QStringLiteral("Dentista"));
    note.window->setNote(QStringLiteral("terça\r\n14h"));
    note.window->setColor(0x00FFC0C0);
    note.window->setScrollbar(true);
    note.window->setFooter(QStringLiteral("De Ana (10.0.0.7)"));
    note.window->setMemoFont(NoteFont{QStringLiteral("Arial"), 12, 0x000000FF, true, false});
    note.window->setBounds(11, 22, 333, 244);
    NoteRecord alarmFields = note.window->toRecord();
    alarmFields.weekdays = {true, false, true, false, true, false, true};
    alarmFields.Remember = true;
    alarmFields.RememberNo = 3;
    alarmFields.RememberUnit = 2;
    note.window->applyRecord(alarmFields);
    note.window->setTopmost(true);
    note.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(note.window.get()));

    const NoteRecord record = note.window->toRecord();
    QCOMPARE(record.caption, QStringLiteral("Dentista"));
    QCOMPARE(record.note, QStringLiteral("terça\r\n14h"));
    QCOMPARE(record.Color, 0x00FFC0C0);
    QVERIFY(record.scrollbar);
    QCOMPARE(record.footer, QStringLiteral("De Ana (10.0.0.7)"));
    QCOMPARE(QRect(record.posx, record.posy, record.Width, record.Height), QRect(11, 22, 333, 244));
    QCOMPARE(record.FontName, QStringLiteral("Arial"));
    QCOMPARE(record.FontSize, 12);
    QCOMPARE(record.FontColor, 0x000000FF);
    QVERIFY(record.FontBold && !record.FontItalic);
    QVERIFY(record.visible && record.topmost && record.Remember);
    QCOMPARE(record.weekdays, (std::array<bool, 7>{true, false, true, false, true, false, true}));
    QCOMPARE(record.RememberNo, 3);
    QCOMPARE(record.RememberUnit, 2);
    QCOMPARE(note.memPostit()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(note.memPostit()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

QTEST_MAIN(tst_NoteWindow)
#include "tst_NoteWindow.moc"
