#include "gui/program/TfrmLocalizaNota.h"

#include "core/notes/NoteCollection.h"
#include "gui/program/FoundNoteDelegate.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

TfrmLocalizaNota::TfrmLocalizaNota(NoteCollection& notes, QWidget* parent)
    : QDialog(parent), m_notes(notes) {
    setObjectName(QStringLiteral("frmLocalizaNota"));
    lblLocalizar = new QLabel(this);
    lblLocalizar->setObjectName(QStringLiteral("lblLocalizar"));
    txtLocalizar = new QLineEdit(this);
    txtLocalizar->setObjectName(QStringLiteral("txtLocalizar"));
    txtLocalizar->setClearButtonEnabled(true);
    lblLocalizar->setBuddy(txtLocalizar);
    lblNotas = new QLabel(this);
    lblNotas->setObjectName(QStringLiteral("lblNotas"));
    lstNotas = new QListWidget(this);
    lstNotas->setObjectName(QStringLiteral("lstNotas"));
    lstNotas->setItemDelegate(new FoundNoteDelegate(lstNotas));
    lstNotas->setSelectionMode(QAbstractItemView::SingleSelection);
    lstNotas->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lblNotas->setBuddy(lstNotas);
    cmdMostrar = new QPushButton(this);
    cmdMostrar->setObjectName(QStringLiteral("cmdMostrar"));
    cmdMostrar->setDefault(true);
    cmdFechar = new QPushButton(this);
    cmdFechar->setObjectName(QStringLiteral("cmdFechar"));
    cmdFechar->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdMostrar);
    buttons->addWidget(cmdFechar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblLocalizar);
    layout->addWidget(txtLocalizar);
    layout->addWidget(lblNotas);
    layout->addWidget(lstNotas, 1);
    layout->addLayout(buttons);
    // Room for a line of the tray's lists and its context, and a dozen notes.
    const QFontMetrics metrics(font());
    resize(metrics.averageCharWidth() * 80, metrics.lineSpacing() * 26);

    m_refill = new QTimer(this);
    m_refill->setSingleShot(true);
    m_refill->setInterval(0);
    connect(m_refill, &QTimer::timeout, this, &TfrmLocalizaNota::txtLocalizarChange);
    connect(&m_notes, &NoteCollection::notesChanged, this, [this] {
        if (isVisible())
            m_refill->start();
    });
    connect(txtLocalizar, &QLineEdit::textChanged, this, &TfrmLocalizaNota::txtLocalizarChange);
    // The arrow and page keys move through the list while the field keeps the focus.
    txtLocalizar->installEventFilter(this);
    connect(lstNotas, &QListWidget::itemDoubleClicked, this, &TfrmLocalizaNota::cmdMostrarClick);
    connect(lstNotas, &QListWidget::currentRowChanged, this,
            [this](int row) { cmdMostrar->setEnabled(row >= 0); });
    connect(cmdMostrar, &QPushButton::clicked, this, &TfrmLocalizaNota::cmdMostrarClick);
    connect(cmdFechar, &QPushButton::clicked, this, &QDialog::reject);
    retranslate();
    txtLocalizarChange();
}

void TfrmLocalizaNota::retranslate() {
    setWindowTitle(tr("Localizar Nota"));
    lblLocalizar->setText(tr("&Localizar no título ou no texto:"));
    lblNotas->setText(tr("&Notas encontradas:"));
    cmdMostrar->setText(tr("&Mostrar"));
    cmdFechar->setText(tr("&Fechar"));
}

void TfrmLocalizaNota::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void TfrmLocalizaNota::showFinder() {
    txtLocalizarChange();
    txtLocalizar->selectAll();
    txtLocalizar->setFocus();
    show();
    raise();
    activateWindow();
}

void TfrmLocalizaNota::txtLocalizarChange() {
    m_refill->stop();
    const QList<NoteSearch::Found> found = m_search.find(m_notes.notes(), txtLocalizar->text());
    lstNotas->setUpdatesEnabled(false);
    lstNotas->clear();
    m_found.clear();
    for (const NoteSearch::Found& note : found) {
        auto* item = new QListWidgetItem(
            note.context.isEmpty() ? note.line : note.line + QLatin1Char('\n') + note.context);
        item->setData(FoundNoteDelegate::LineRole, note.line);
        item->setData(FoundNoteDelegate::ContextRole, note.context);
        item->setData(FoundNoteDelegate::MatchStartRole, note.match.start);
        item->setData(FoundNoteDelegate::MatchLengthRole, note.match.length);
        lstNotas->addItem(item);
        m_found.append(note.note);
    }
    lstNotas->setCurrentRow(found.isEmpty() ? -1 : 0);
    cmdMostrar->setEnabled(!found.isEmpty());
    lstNotas->setUpdatesEnabled(true);
}

void TfrmLocalizaNota::cmdMostrarClick() {
    const int row = lstNotas->currentRow();
    if (row < 0 || row >= m_found.size())
        return;
    const QPointer<Note> note = m_found.at(row);
    // A note deleted meanwhile is simply no longer listed.
    if (!note || note->number() < 0) {
        txtLocalizarChange();
        return;
    }
    accept();
    Q_EMIT noteChosen(note);
}

QStringList TfrmLocalizaNota::lines() const {
    QStringList texts;
    for (int row = 0; row < lstNotas->count(); ++row)
        texts.append(lstNotas->item(row)->text());
    return texts;
}

bool TfrmLocalizaNota::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtLocalizar && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QCoreApplication::sendEvent(lstNotas, event);
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}
