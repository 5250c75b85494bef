#include "gui/dialogs/TtabAlarme.h"

#include "gui/dialogs/UpDown.h"
#include "platform/CommonDialogs.h"
#include "platform/LocaleInfo.h"
#include "platform/MessageBoxes.h"
#include "platform/SoundPlayer.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QTime wholeSeconds(const QTime& time) {
    return QTime(time.hour(), time.minute(), time.second());
}

} // namespace

TtabAlarme::TtabAlarme(MessageBoxes& messages, CommonDialogs& dialogs, SoundPlayer& sound,
                       const LocaleInfo& locale, QWidget* parent)
    : QWidget(parent), m_messages(messages), m_dialogs(dialogs), m_sound(sound), m_locale(locale) {
    setObjectName(QStringLiteral("tabAlarme"));

    chkHabAlarme = new QCheckBox(this);
    chkHabAlarme->setObjectName(QStringLiteral("chkHabAlarme"));
    Label2 = new QLabel(this);
    dtmDataAlarme = new QDateEdit(this);
    dtmDataAlarme->setObjectName(QStringLiteral("dtmDataAlarme"));
    dtmDataAlarme->setCalendarPopup(true);
    dtmDataAlarme->setLocale(m_locale.locale());
    dtmDataAlarme->setDisplayFormat(m_locale.locale().dateFormat(QLocale::LongFormat));
    // Wide enough for the longest long date (a long weekday and month).
    dtmDataAlarme->setMinimumWidth(
        dtmDataAlarme->fontMetrics().horizontalAdvance(
            m_locale.locale().toString(QDate(2000, 9, 27), QLocale::LongFormat)) +
        60);
    Label2->setBuddy(dtmDataAlarme);
    Label4 = new QLabel(this);
    dtmHoraAlarme = new QTimeEdit(this);
    dtmHoraAlarme->setObjectName(QStringLiteral("dtmHoraAlarme"));
    dtmHoraAlarme->setLocale(m_locale.locale());
    dtmHoraAlarme->setDisplayFormat(m_locale.longTimeFormat());
    Label4->setBuddy(dtmHoraAlarme);

    chkRemarca = new QCheckBox(this);
    chkRemarca->setObjectName(QStringLiteral("chkRemarca"));
    txtCada = new QLineEdit(QStringLiteral("1"), this);
    txtCada->setObjectName(QStringLiteral("txtCada"));
    txtCada->setFixedWidth(40);
    txtCada->setMaxLength(10);
    updCada = new UpDown(txtCada, MinRememberNo, MaxRememberNo, 1, this);
    updCada->setObjectName(QStringLiteral("updCada"));
    cboUnidade = new QComboBox(this);
    cboUnidade->setObjectName(QStringLiteral("cboUnidade"));
    fillUnits();
    Label12 = new QLabel(this);
    chkDiasDaSemana = new QListWidget(this);
    chkDiasDaSemana->setObjectName(QStringLiteral("chkDiasDaSemana"));
    chkDiasDaSemana->setFlow(QListView::TopToBottom);
    chkDiasDaSemana->setWrapping(true);
    chkDiasDaSemana->setResizeMode(QListView::Adjust);
    chkDiasDaSemana->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    chkDiasDaSemana->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fillWeekdays();

    Bevel1 = new QFrame(this);
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    chkTocaSom = new QCheckBox(this);
    chkTocaSom->setObjectName(QStringLiteral("chkTocaSom"));
    fleSom = new QLineEdit(this);
    fleSom->setObjectName(QStringLiteral("fleSom"));
    cmdProcurar = new QPushButton(QStringLiteral("..."), this);
    cmdProcurar->setObjectName(QStringLiteral("cmdProcurar"));
    cmdProcurar->setAutoDefault(false);
    cmdProcurar->setFixedWidth(28);
    cmdTestar = new QPushButton(this);
    cmdTestar->setObjectName(QStringLiteral("cmdTestar"));
    cmdTestar->setAutoDefault(false);

    auto* when = new QGridLayout;
    when->addWidget(Label2, 0, 0);
    when->addWidget(dtmDataAlarme, 0, 1);
    when->addWidget(Label4, 1, 0);
    when->addWidget(dtmHoraAlarme, 1, 1);
    when->setColumnStretch(2, 1);
    auto* repeat = new QHBoxLayout;
    repeat->addWidget(chkRemarca);
    repeat->addWidget(txtCada);
    repeat->addWidget(updCada);
    repeat->addWidget(cboUnidade);
    repeat->addStretch(1);
    auto* soundRow = new QHBoxLayout;
    soundRow->addWidget(chkTocaSom);
    soundRow->addWidget(fleSom, 1);
    soundRow->addWidget(cmdProcurar);
    soundRow->addWidget(cmdTestar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chkHabAlarme);
    layout->addLayout(when);
    layout->addLayout(repeat);
    layout->addWidget(Label12);
    layout->addWidget(chkDiasDaSemana);
    layout->addWidget(Bevel1);
    layout->addLayout(soundRow);
    layout->addStretch(1);

    connect(chkHabAlarme, &QCheckBox::toggled, this, [this] { chkHabAlarmeClick(); });
    connect(chkRemarca, &QCheckBox::toggled, this, [this] { chkRemarcaClick(); });
    connect(chkTocaSom, &QCheckBox::toggled, this, [this] { chkTocaSomClick(); });
    connect(cmdProcurar, &QPushButton::clicked, this, [this] { cmdProcurarClick(); });
    connect(cmdTestar, &QPushButton::clicked, this, [this] { cmdTestarClick(); });
    connect(txtCada, &QLineEdit::textChanged, this, [this] { retextUnits(); });
    retranslate();
}

void TtabAlarme::retranslate() {
    chkHabAlarme->setText(tr("Habilita Alarme"));
    Label2->setText(tr("&Data:"));
    Label4->setText(tr("&Hora:"));
    chkRemarca->setText(tr("Relembrar a cada "));
    retextUnits();
    Label12->setText(tr("Dias da Semana:"));
    const QStringList days = {tr("Domingo"), tr("Segunda"), tr("Terça"), tr("Quarta"),
                              tr("Quinta"),  tr("Sexta"),   tr("Sábado")};
    int widest = 0;
    for (int i = 0; i < chkDiasDaSemana->count() && i < days.size(); ++i) {
        chkDiasDaSemana->item(i)->setText(days[i]);
        widest = std::max(widest, chkDiasDaSemana->fontMetrics().horizontalAdvance(days[i]));
    }
    // Two columns wide enough for every day's name beside its check box.
    const QSize cell(widest + 40, chkDiasDaSemana->fontMetrics().height() + 4);
    chkDiasDaSemana->setGridSize(cell);
    chkDiasDaSemana->setFixedHeight(4 * cell.height() + 2 * chkDiasDaSemana->frameWidth() + 2);
    chkTocaSom->setText(tr("Toca &Som"));
    cmdTestar->setText(tr("&Testar"));
}

void TtabAlarme::retextUnits() {
    // The units agree in number with the count before them; a count that is no number
    // (yet) reads as several.
    const int count = rememberNo().value_or(2);
    const QStringList units = {tr("minuto(s)", nullptr, count), tr("hora(s)", nullptr, count),
                               tr("dia(s)", nullptr, count), tr("semana(s)", nullptr, count),
                               tr("mês(es)", nullptr, count)};
    for (int i = 0; i < cboUnidade->count() && i < units.size(); ++i)
        cboUnidade->setItemText(i, units[i]);
}

void TtabAlarme::fillUnits() {
    cboUnidade->clear();
    for (int i = 0; i < 5; ++i)
        cboUnidade->addItem(QString());
    cboUnidade->setCurrentIndex(0);
}

void TtabAlarme::fillWeekdays() {
    chkDiasDaSemana->clear();
    for (int i = 0; i < 7; ++i) {
        auto* item = new QListWidgetItem(chkDiasDaSemana);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
    }
}

void TtabAlarme::fillNoteLists() {
    fillUnits();
    fillWeekdays();
    retranslate();
}

void TtabAlarme::primeFromNote(const NoteRecord& note, const QDateTime& now) {
    for (QWidget* control : std::initializer_list<QWidget*>{
             chkHabAlarme, dtmDataAlarme, dtmHoraAlarme, chkTocaSom, fleSom, chkRemarca, txtCada,
             updCada, cboUnidade, chkDiasDaSemana})
        control->setEnabled(true);
    chkHabAlarme->setChecked(note.alarm);
    if (note.alarm && note.AlarmDateTime.isValid()) {
        dtmDataAlarme->setDate(note.AlarmDateTime.date());
        dtmHoraAlarme->setTime(wholeSeconds(note.AlarmDateTime.time()));
        chkTocaSom->setChecked(note.UseSound);
        fleSom->setText(note.SoundFile);
        for (int i = 0; i < 7; ++i)
            chkDiasDaSemana->item(i)->setCheckState(note.weekdays[i] ? Qt::Checked : Qt::Unchecked);
        chkRemarca->setChecked(note.Remember);
        txtCada->setText(QString::number(note.RememberNo));
        updCada->setPosition(note.RememberNo);
        cboUnidade->setCurrentIndex(note.RememberUnit);
    } else {
        const QDateTime proposed = now.addSecs(5 * 60);
        dtmDataAlarme->setDate(proposed.date());
        dtmHoraAlarme->setTime(wholeSeconds(proposed.time()));
        chkTocaSom->setChecked(false);
        fleSom->clear();
        for (int i = 0; i < 7; ++i)
            chkDiasDaSemana->item(i)->setCheckState(Qt::Checked);
    }
    chkHabAlarmeClick();
}

void TtabAlarme::disableForPreferences() {
    chkHabAlarme->setChecked(false);
    chkHabAlarme->setEnabled(false);
    chkHabAlarmeClick();
}

QDateTime TtabAlarme::joinedDateTime() const {
    return QDateTime(dtmDataAlarme->date(), wholeSeconds(dtmHoraAlarme->time()));
}

std::array<bool, 7> TtabAlarme::weekdays() const {
    std::array<bool, 7> days{};
    for (int i = 0; i < 7; ++i)
        days[i] = chkDiasDaSemana->item(i)->checkState() == Qt::Checked;
    return days;
}

std::optional<int> TtabAlarme::rememberNo() const {
    bool isNumber = false;
    const int value = txtCada->text().trimmed().toInt(&isNumber);
    if (!isNumber || value < MinRememberNo || value > MaxRememberNo)
        return std::nullopt;
    return value;
}

void TtabAlarme::applyTo(NoteRecord& note) const {
    if (!chkHabAlarme->isChecked()) {
        note.alarm = false;
        return;
    }
    note.alarm = true;
    note.AlarmDateTime = joinedDateTime();
    note.UseSound = chkTocaSom->isChecked();
    note.SoundFile = fleSom->text();
    note.weekdays = weekdays();
    note.Remember = chkRemarca->isChecked();
    // An interval the user cannot see being used (no reminder) and that is no number
    // keeps the note's old one.
    if (const std::optional<int> number = rememberNo())
        note.RememberNo = *number;
    if (cboUnidade->currentIndex() >= 0)
        note.RememberUnit = cboUnidade->currentIndex();
}

void TtabAlarme::chkHabAlarmeClick() {
    // Nothing of an alarm that is not enabled can be changed, its sound not tried.
    const bool on = chkHabAlarme->isChecked();
    for (QWidget* control : std::initializer_list<QWidget*>{
             dtmDataAlarme, dtmHoraAlarme, chkTocaSom, fleSom, cmdProcurar, cmdTestar, chkRemarca})
        control->setEnabled(on);
    chkRemarcaClick();
}

void TtabAlarme::chkRemarcaClick() {
    const bool on = chkRemarca->isChecked() && chkHabAlarme->isChecked();
    for (QWidget* control :
         std::initializer_list<QWidget*>{txtCada, updCada, cboUnidade, chkDiasDaSemana})
        control->setEnabled(on);
}

void TtabAlarme::chkTocaSomClick() {
    fleSom->setEnabled(chkTocaSom->isChecked());
}

void TtabAlarme::cmdProcurarClick() {
    const QString chosen =
        m_dialogs.openFile(this, tr("Abrir"), m_sound.soundFolder(), tr("Arquivos Wave (*.wav)"));
    if (!chosen.isEmpty())
        fleSom->setText(chosen);
}

void TtabAlarme::cmdTestarClick() {
    // The dialog waits while the sound plays; it may be closed from elsewhere meanwhile.
    const QPointer<TtabAlarme> self(this);
    cmdTestar->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool played = m_sound.playSync(fleSom->text());
    QApplication::restoreOverrideCursor();
    if (!self)
        return;
    cmdTestar->setEnabled(true);
    if (!played)
        m_messages.error(tr("Este não é um arquivo de som válido!"));
}

void TtabAlarme::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}
