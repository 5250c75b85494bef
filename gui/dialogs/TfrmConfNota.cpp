#include "gui/dialogs/TfrmConfNota.h"
#include "gui/dialogs/DialogButtons.h"

#include "core/base/TacknoteError.h"
#include "core/net/NoteServerControl.h"
#include "core/program/HelpTopics.h"
#include "core/settings/GeneralSettings.h"
#include "core/settings/NetworkSettings.h"
#include "gui/dialogs/TtabAlarme.h"
#include "gui/dialogs/TtabFonteCor.h"
#include "gui/dialogs/TtabGeral.h"
#include "gui/dialogs/TtabSons.h"
#include "gui/dialogs/TtbsRede.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

TfrmConfNota::TfrmConfNota(const ConfNotaServices& services, GeneralSettings& recGeral,
                           NetworkSettings& recRede, NoteServerControl& noteServer,
                           const QString& dataDir, QWidget* parent)
    : QDialog(parent), m_services(services), m_recGeral(recGeral), m_recRede(recRede),
      m_noteServer(noteServer), m_dataDir(dataDir), m_helpContext(helpContextOf(PageFonteCor)) {
    setObjectName(QStringLiteral("frmConfNota"));
    // FormClose: the dialog is freed when it closes.
    setAttribute(Qt::WA_DeleteOnClose);

    pagGeral = new QTabWidget(this);
    pagGeral->setObjectName(QStringLiteral("pagGeral"));
    pagGeral->setUsesScrollButtons(false);
    tabFonteCor = new TtabFonteCor(services.dialogs, services.clock, services.locale);
    tabAlarme =
        new TtabAlarme(services.messages, services.dialogs, services.sound, services.locale);
    tabSons = new TtabSons(services.messages, services.dialogs, services.sound);
    tabGeral = new TtabGeral(services.dialogs, services.autostart);
    tbsRede = new TtbsRede(services.messages);
    for (QWidget* page :
         std::initializer_list<QWidget*>{tabFonteCor, tabAlarme, tabSons, tabGeral, tbsRede})
        pagGeral->addTab(page, QString());

    const DialogButtons okCancel = DialogButtons::create(this);
    cmdOK = okCancel.ok;
    cmdCancelar = okCancel.cancel;
    QBoxLayout* buttons = okCancel.row;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pagGeral);
    layout->addLayout(buttons);
    // A dialog border: the size of the contents, at least the client area it was drawn
    // with, and not resizable.
    setFixedSize(sizeHint().expandedTo(QSize(374, 301)));

    setHelpContext(m_helpContext);
    connect(pagGeral, &QTabWidget::currentChanged, this,
            [this](int page) { pagGeralChange(page); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOKClick(); });
    connect(cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
    retranslate();
}

void TfrmConfNota::retranslate() {
    setWindowTitle(tr("Configurações"));
    pagGeral->setTabText(PageFonteCor, tr("Aparência"));
    pagGeral->setTabText(PageAlarme, tr("Alarmes"));
    pagGeral->setTabText(PageSons, tr("Sons"));
    pagGeral->setTabText(PageGeral, tr("Geral"));
    pagGeral->setTabText(PageRede, tr("Rede"));
    cmdOK->setText(tr("&OK"));
    cmdCancelar->setText(tr("&Cancelar"));
}

int TfrmConfNota::helpContextOf(int page) {
    // "Aparência" 2, "Alarmes" 3, "Sons" 4, "Geral" 5, "Rede" 6.
    return page >= 0 && page < PageCount ? page + 2 : 0;
}

void TfrmConfNota::primePreferences() {
    ConfiguredNote = -1;
    tabFonteCor->setPreviewColor(m_recGeral.DefaultColor);
    tabFonteCor->setPreviewFont(m_recGeral.DefaultFont);
    tabFonteCor->setCaptionTextColor(m_recGeral.DefaultFont.Color);
    // The track bar shows the stored step even while the darkened caption is off, so
    // that OK, which stores the track bar's position, keeps it.
    tabFonteCor->TrackBar1->setValue(m_recGeral.TrackPosition);
    if (!m_recGeral.DarkCaption)
        tabFonteCor->setCaptionColor(tabFonteCor->previewColor());
    tabFonteCor->chkDataCaption->setChecked(m_recGeral.ShowDate);
    tabFonteCor->chkHoraCaption->setChecked(m_recGeral.ShowTime);
    tabGeral->primePersonal(m_recGeral);
    tbsRede->prime(m_recRede);
}

void TfrmConfNota::primeForNote(int noteNumber, const NoteRecord& note) {
    ConfiguredNote = noteNumber;
    m_note = note;
    tabFonteCor->setPreviewColor(note.Color);
    tabFonteCor->setPreviewFont(
        {note.FontName, note.FontSize, note.FontColor, note.FontBold, note.FontItalic});
    tabFonteCor->setCaptionTextColor(note.FontColor);
    if (note.DarkCaption) {
        tabFonteCor->TrackBar1->setValue(note.TrackPosition);
        tabFonteCor->TrackBar1->setEnabled(true);
        tabFonteCor->TrackBar1Change();
    } else {
        tabFonteCor->setCaptionColor(tabFonteCor->previewColor());
        tabFonteCor->TrackBar1->setEnabled(false);
    }
}

void TfrmConfNota::FormShow() {
    tabGeral->lblDirDados->setText(m_dataDir);
    if (preferencesMode()) {
        for (int page : {PageGeral, PageRede, PageSons})
            pagGeral->setTabVisible(page, true);
        tabFonteCor->chkScroll->setChecked(m_recGeral.ScrollBar);
        tabFonteCor->chkCorCaption->setChecked(m_recGeral.DarkCaption);
        tabFonteCor->chkDataCaption->setEnabled(true);
        tabFonteCor->chkHoraCaption->setEnabled(true);
        tabAlarme->disableForPreferences();
        tabSons->rebuildRows();
    } else {
        tabAlarme->fillNoteLists();
        for (int page : {PageGeral, PageRede, PageSons})
            pagGeral->setTabVisible(page, false);
        tabFonteCor->chkScroll->setChecked(m_note.scrollbar);
        tabFonteCor->chkCorCaption->setChecked(m_note.DarkCaption);
        tabFonteCor->chkDataCaption->setEnabled(false);
        tabFonteCor->chkHoraCaption->setEnabled(false);
        tabFonteCor->chkDataCaption->setChecked(false);
        tabFonteCor->chkHoraCaption->setChecked(false);
        tabAlarme->primeFromNote(m_note, m_services.clock.now());
    }
    tabFonteCor->chkScrollClick();
    tabFonteCor->chkCorCaptionClick();
    tabSons->prime(m_recGeral);
    tabGeral->primeGeneral(m_recGeral, m_dataDir);
}

void TfrmConfNota::pagGeralChange(int page) {
    setHelpContext(helpContextOf(page));
}

void TfrmConfNota::setHelpContext(int context) {
    m_helpContext = context;
    setProperty(HelpTopics::property, HelpTopics::ofContext(context));
}

void TfrmConfNota::refuse(int page, QWidget* field, const QString& message) {
    const QPointer<TfrmConfNota> self(this);
    pagGeral->setCurrentIndex(page);
    m_services.messages.error(message);
    if (self && field)
        field->setFocus();
}

bool TfrmConfNota::checksPass() {
    // The pages of the program settings are hidden in note mode and nothing of them is
    // taken over there, so their check is not made either.
    if (preferencesMode() && !tabGeral->autoSaveAccepted()) {
        refuse(PageGeral, tabGeral->txtAutoSave,
               tr("O tempo de salvamento automático deve estar entre 5 e 60 minutos!"));
        return false;
    }
    // An empty folder would make every backup on exit fail.
    if (preferencesMode() && !tabGeral->backupFolderAccepted()) {
        refuse(PageGeral, tabGeral->txtLocalBackup,
               tr("Escolha a pasta para o backup na saída do programa!"));
        return false;
    }
    if (preferencesMode() || !tabAlarme->chkHabAlarme->isChecked())
        return true;
    if (tabAlarme->chkRemarca->isChecked() && !tabAlarme->rememberNo()) {
        refuse(PageAlarme, tabAlarme->txtCada,
               tr("O intervalo de repetição deve ser um número inteiro entre 1 e 999!"));
        return false;
    }
    const QDateTime now = m_services.clock.now();
    const QDateTime thisSecond(now.date(),
                               QTime(now.time().hour(), now.time().minute(), now.time().second()));
    if (thisSecond >= tabAlarme->joinedDateTime()) {
        refuse(PageAlarme, nullptr,
               tr("A data e hora selecionada para o alarme é mais antiga que a atual!"));
        return false;
    }
    return true;
}

void TfrmConfNota::cmdOKClick() {
    if (!checksPass())
        return;
    const QPointer<TfrmConfNota> self(this);
    if (preferencesMode())
        applyToSettings();
    else
        applyToNote();
    if (self)
        accept();
}

void TfrmConfNota::applyToNote() {
    NoteRecord note = m_note;
    tabAlarme->applyTo(note);
    note.Color = tabFonteCor->previewColor();
    const NoteFont font = tabFonteCor->previewFont();
    note.FontName = font.Name;
    note.FontSize = font.Size;
    note.FontColor = font.Color;
    note.FontBold = font.Bold;
    note.FontItalic = font.Italic;
    note.scrollbar = tabFonteCor->chkScroll->isChecked();
    note.DarkCaption = tabFonteCor->chkCorCaption->isChecked();
    if (note.DarkCaption)
        note.TrackPosition = tabFonteCor->TrackBar1->value();
    Q_EMIT noteConfigured(ConfiguredNote, note);
}

void TfrmConfNota::applyToSettings() {
    m_recGeral.ScrollBar = tabFonteCor->chkScroll->isChecked();
    m_recGeral.DefaultColor = tabFonteCor->previewColor();
    m_recGeral.DefaultFont = tabFonteCor->previewFont();
    m_recGeral.DarkCaption = tabFonteCor->chkCorCaption->isChecked();
    m_recGeral.TrackPosition = tabFonteCor->TrackBar1->value();
    m_recGeral.ShowDate = tabFonteCor->chkDataCaption->isChecked();
    m_recGeral.ShowTime = tabFonteCor->chkHoraCaption->isChecked();
    tabGeral->applyPersonal(m_recGeral);
    const QString portBefore = m_recRede.PortTCP;
    const bool emptyBlockList = tbsRede->applyTo(m_recRede);
    tabSons->applyTo(m_recGeral);
    tabGeral->applyGeneral(m_recGeral);

    // Every setting is in place before a message can let other events run.
    const QPointer<TfrmConfNota> self(this);
    if (emptyBlockList)
        m_services.messages.information(TtbsRede::emptyBlockListNotice());
    if (!self)
        return;
    startOrStopNoteServer(m_recRede.PortTCP != portBefore);
    if (self)
        applySessionStart();
    if (self)
        Q_EMIT preferencesApplied();
}

void TfrmConfNota::applySessionStart() {
    try {
        tabGeral->applySessionStart();
    } catch (const TacknoteError& error) {
        // The settings stay applied; the check box shows the real state at the next
        // opening.
        m_services.messages.error(error.message());
    }
}

void TfrmConfNota::startOrStopNoteServer(bool portChanged) {
    try {
        if (!m_recRede.Enabled || portChanged)
            m_noteServer.StopNoteServer();
        if (m_recRede.Enabled)
            m_noteServer.StartNoteServer();
    } catch (const TacknoteError& error) {
        // The other settings stay applied; the listener is tried again at the next OK
        // or start of the program.
        m_services.messages.error(error.message());
    }
}

void TfrmConfNota::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmConfNota::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}
