#include "gui/alarm/TfrmMostraAlarmes.h"

#include "core/program/HelpTopics.h"
#include "platform/MessageBoxes.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

// The list's room, in lines and in characters of the window's font: a line of the list
// ("007 - 14:30:00 - Dentista") shows whole beside the buttons below it.
constexpr int kListLines = 5;
constexpr int kListCharacters = 36;

} // namespace

TfrmMostraAlarmes::TfrmMostraAlarmes(MessageBoxes& messages, QWidget* parent)
    // Above every note, stay-on-top notes included, like the program's dialogs.
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      m_messages(messages) {
    setObjectName(QStringLiteral("frmMostraAlarmes"));
    setProperty(HelpTopics::property, QStringLiteral("today"));

    lstTem = new QListWidget(this);
    lstTem->setObjectName(QStringLiteral("lstTem"));
    lstTem->setSelectionMode(QAbstractItemView::SingleSelection);
    lstTem->setTextElideMode(Qt::ElideNone);
    const QFontMetrics metrics(lstTem->font());
    lstTem->setMinimumSize(metrics.averageCharWidth() * kListCharacters,
                           metrics.lineSpacing() * kListLines);

    cmdVisualizar = new QPushButton(this);
    cmdVisualizar->setObjectName(QStringLiteral("cmdVisualizar"));
    cmdFechar = new QPushButton(this);
    cmdFechar->setObjectName(QStringLiteral("cmdFechar"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdVisualizar);
    buttons->addWidget(cmdFechar);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lstTem, 1);
    layout->addLayout(buttons);

    // A click on a line and a selection made with the keyboard both count as a click
    // on the list; a line only becoming current (as when the list takes the focus)
    // does not.
    connect(lstTem, &QListWidget::itemClicked, this, [this] { lstTemClick(); });
    connect(lstTem, &QListWidget::itemSelectionChanged, this, [this] { lstTemClick(); });
    connect(lstTem, &QListWidget::itemDoubleClicked, this, [this] { cmdVisualizarClick(); });
    connect(cmdVisualizar, &QPushButton::clicked, this, [this] { cmdVisualizarClick(); });
    connect(cmdFechar, &QPushButton::clicked, this, [this] { cmdFecharClick(); });

    retranslate();
    resize(sizeHint());
    centreOnScreen();
}

void TfrmMostraAlarmes::retranslate() {
    setWindowTitle(tr("Tarefas para Hoje"));
    cmdVisualizar->setText(tr("&Visualizar"));
    cmdFechar->setText(tr("&Fechar"));
}

bool TfrmMostraAlarmes::showTasks(const QList<Task>& tasks) {
    // An open window never goes on listing what is no longer due.
    setTasks(tasks);
    if (tasks.isEmpty()) {
        FormShow();
        m_messages.information(tr("Você não tem tarefas agendadas para hoje!"));
        return false;
    }
    // Already open: no show event comes, so the button rule is applied here.
    if (isVisible())
        FormShow();
    show();
    raise();
    activateWindow();
    return true;
}

void TfrmMostraAlarmes::setTasks(const QList<Task>& tasks) {
    lstTem->clear();
    m_notes.clear();
    const QFontMetrics metrics(lstTem->font());
    int widest = metrics.averageCharWidth() * kListCharacters;
    for (const Task& task : tasks) {
        lstTem->addItem(task.line);
        m_notes.append(task.note);
        widest = qMax(widest, metrics.horizontalAdvance(task.line));
    }
    // Long titles widen the window, up to half the screen; beyond that the list scrolls.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int limit = screen ? screen->availableGeometry().width() / 2 : widest;
    const int frame = lstTem->frameWidth() * 2 + lstTem->verticalScrollBar()->sizeHint().width() +
                      metrics.averageCharWidth() * 2;
    lstTem->setMinimumWidth(qMin(widest + frame, qMax(limit, 0)));
    if (!isVisible())
        resize(sizeHint());
}

QStringList TfrmMostraAlarmes::lines() const {
    QStringList result;
    for (int row = 0; row < lstTem->count(); ++row)
        result.append(lstTem->item(row)->text());
    return result;
}

void TfrmMostraAlarmes::FormShow() {
    cmdVisualizar->setEnabled(false);
}

void TfrmMostraAlarmes::lstTemClick() {
    if (lstTem->count() > 0)
        cmdVisualizar->setEnabled(true);
}

void TfrmMostraAlarmes::cmdVisualizarClick() {
    const QList<QListWidgetItem*> selected = lstTem->selectedItems();
    if (selected.isEmpty())
        return;
    const int row = lstTem->row(selected.first());
    QObject* note = row >= 0 && row < m_notes.size() ? m_notes.at(row).data() : nullptr;
    if (note && showNote && showNote(note))
        return;
    m_messages.show(MessageBoxes::Icon::Error, MessageBoxes::titleNotice(),
                    tr("Não foi possível abrir a nota! Provavelmente ela já foi excluída."));
}

void TfrmMostraAlarmes::cmdFecharClick() {
    hide();
}

void TfrmMostraAlarmes::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        centreOnScreen();
        FormShow();
    }
}

void TfrmMostraAlarmes::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void TfrmMostraAlarmes::centreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}
