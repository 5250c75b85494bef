// The configuration dialog opened for a note: the pages it shows, the appearance page's
// caption preview, colour and font dialogs, and a cancel that changes nothing.
#include "gui/dialogs/TtabAlarme.h"
#include "gui/dialogs/TtabFonteCor.h"
#include "tests/dialogs/ConfNotaHarness.h"
#include "tests/dialogs/SampleNotes.h"

#include <QCheckBox>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QTest>

class tst_NoteConfiguration : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void noteModeLayout();
    void captionPreview_data();
    void captionPreview();
    void colourAndFontDialogs();
    void cancelChangesNothing();
};

// Note mode shows only "Aparência" and "Alarmes", the preview of the note itself, and
// the date and time boxes of new notes disabled.
void tst_NoteConfiguration::noteModeLayout() {
    ConfNotaHarness h;
    NoteRecord note = plainNote();
    note.scrollbar = true;
    TfrmConfNota& dialog = h.openNote(note, 9);
    QCOMPARE(dialog.ConfiguredNote, 9);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Configurações"));
    const QList<bool> visible = {true, true, false, false, false};
    for (int page = 0; page < TfrmConfNota::PageCount; ++page)
        QCOMPARE(dialog.pagGeral->isTabVisible(page), visible[page]);

    TtabFonteCor* look = dialog.tabFonteCor;
    QVERIFY(!look->chkDataCaption->isEnabled());
    QVERIFY(!look->chkHoraCaption->isEnabled());
    QVERIFY(!look->chkDataCaption->isChecked());
    QVERIFY(!look->chkHoraCaption->isChecked());
    QCOMPARE(look->captionText(), QStringLiteral("  01/01/2002 12:35"));
    QCOMPARE(look->previewColor(), 0x80FFFF);
    QCOMPARE(look->captionColor(), 0x80FFFF);
    QCOMPARE(look->captionTextColor(), 0x000080);
    QVERIFY(look->chkScroll->isChecked());
    QVERIFY(!look->scbExemplo->isHidden());
    look->chkScroll->click();
    QVERIFY(look->scbExemplo->isHidden());

    QCOMPARE(dialog.helpContext(), 2);
    dialog.pagGeral->setCurrentIndex(TfrmConfNota::PageAlarme);
    QCOMPARE(dialog.helpContext(), 3);

    QVERIFY(h.pressOk());
    QCOMPARE(h.configured->scrollbar, false);
    QCOMPARE(h.applied, 0);
}

void tst_NoteConfiguration::captionPreview_data() {
    QTest::addColumn<int>("color");
    QTest::addColumn<int>("step");
    QTest::addColumn<bool>("darkAtOk");
    QTest::addColumn<int>("caption");

    QTest::newRow("step 25") << 0x0080FFFF << 25 << true << 0x0035B4B4;
    QTest::newRow("step 1") << 0x0080FFFF << 1 << true << 0x007DFCFC;
    QTest::newRow("zero components stay zero") << 0x000000FF << 10 << true << 0x000000E1;
    QTest::newRow("unchecked again: the note colour") << 0x0080FFFF << 25 << false << 0x0080FFFF;
}

void tst_NoteConfiguration::captionPreview() {
    QFETCH(int, color);
    QFETCH(int, step);
    QFETCH(bool, darkAtOk);
    QFETCH(int, caption);
    ConfNotaHarness h;
    NoteRecord note = plainNote();
    note.Color = color;
    note.TrackPosition = 7;
    TfrmConfNota& dialog = h.openNote(note);
    TtabFonteCor* look = dialog.tabFonteCor;
    QVERIFY(!look->TrackBar1->isEnabled());

    look->chkCorCaption->click();
    QVERIFY(look->TrackBar1->isEnabled());
    look->TrackBar1->setValue(step);
    if (!darkAtOk) {
        look->chkCorCaption->click();
        QVERIFY(!look->TrackBar1->isEnabled());
    }
    QCOMPARE(look->captionColor(), caption);

    QVERIFY(h.pressOk());
    QCOMPARE(h.configured->DarkCaption, darkAtOk);
    // The step of a note without darkened caption stays what it was.
    QCOMPARE(h.configured->TrackPosition, darkAtOk ? step : 7);
}

// Each dialog opens at the note's values first, then at the last choice; a cancelled
// dialog changes nothing; the caption follows colour and font.
void tst_NoteConfiguration::colourAndFontDialogs() {
    ConfNotaHarness h;
    NoteRecord note = plainNote();
    note.DarkCaption = true;
    note.TrackPosition = 10;
    TfrmConfNota& dialog = h.openNote(note);
    TtabFonteCor* look = dialog.tabFonteCor;
    QCOMPARE(look->captionColor(), 0x0062E1E1);

    h.dialogs.answerColor(0x00FFFFFF);
    h.dialogs.answerColor(std::nullopt);
    look->cmdCordeFundo->click();
    QCOMPARE(h.dialogs.opened.last().start, QString::number(0x80FFFF));
    QCOMPARE(look->previewColor(), 0x00FFFFFF);
    QCOMPARE(look->captionColor(), 0x00E1E1E1);
    look->cmdCordeFundo->click();
    QCOMPARE(h.dialogs.lastInitialColor, 0x00FFFFFF);
    QCOMPARE(look->previewColor(), 0x00FFFFFF);

    const NoteFont courier{QStringLiteral("Courier New"), 12, 0x0000FF, true, false};
    h.dialogs.answerFont(courier);
    h.dialogs.answerFont(std::nullopt);
    look->cmdFonte->click();
    QCOMPARE(h.dialogs.lastInitialFont,
             (NoteFont{QStringLiteral("Arial"), 10, 0x000080, false, false}));
    QCOMPARE(look->captionTextColor(), 0x0000FF);
    look->cmdFonte->click();
    QCOMPARE(h.dialogs.lastInitialFont, courier);
    QCOMPARE(look->previewFont(), courier);

    QVERIFY(h.pressOk());
    QCOMPARE(h.configured->Color, 0x00FFFFFF);
    QCOMPARE(h.configured->FontName, QStringLiteral("Courier New"));
    QCOMPARE(h.configured->FontSize, 12);
    QCOMPARE(h.configured->FontColor, 0x0000FF);
    QCOMPARE(h.configured->FontBold, true);
    QCOMPARE(h.configured->FontItalic, false);
    QCOMPARE(h.configured->caption, note.caption);
}

void tst_NoteConfiguration::cancelChangesNothing() {
    ConfNotaHarness h;
    const GeneralSettings settings = h.recGeral;
    TfrmConfNota& dialog = h.openNote(armedNote());
    h.dialogs.answerColor(0x00FF0000);
    dialog.tabFonteCor->cmdCordeFundo->click();
    dialog.tabAlarme->chkHabAlarme->click();
    dialog.cmdCancelar->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(h.dialog.isNull());
    QVERIFY(!h.configured);
    QCOMPARE(h.recGeral, settings);
    QVERIFY(h.server.calls.isEmpty());
}

QTEST_MAIN(tst_NoteConfiguration)
#include "tst_NoteConfiguration.moc"
