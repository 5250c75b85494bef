#include "gui/alarm/TfrmMostraAlarmes.h"

#include "platform/MessageBoxes.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace {

constexpr int kClientWidth = 248;
constexpr int kClientHeight = 109;
constexpr int kListHeight = 79;
constexpr int kButtonTop = 82;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kVisualizarLeft = 47;
constexpr int kFecharLeft = 127;

const QString kNoTasks = QStringLiteral("Você não tem tarefas agendadas para hoje!");
const QString kNoteGone =
    QStringLiteral("Não foi possível abrir a nota! Provavelmente ela já foi excluída.");

} // namespace

TfrmMostraAlarmes::TfrmMostraAlarmes(MessageBoxes& messages, QWidget* parent)
    // Above every note, stay-on-top notes included, like the program's dialogs.
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      m_messages(messages) {
    setObjectName(QStringLiteral("frmMostraAlarmes"));
    setWindowTitle(QStringLiteral("Tarefas para Hoje"));
    setFixedSize(kClientWidth, kClientHeight);
    QFont font(QStringLiteral("Small Fonts"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(9);
    setFont(font);

    lstTem = new QListWidget(this);
    lstTem->setObjectName(QStringLiteral("lstTem"));
    lstTem->setGeometry(0, 0, kClientWidth, kListHeight);
    lstTem->setSelectionMode(QAbstractItemView::SingleSelection);
    lstTem->setTextElideMode(Qt::ElideNone);

    cmdVisualizar = new QPushButton(QStringLiteral("&Visualizar"), this);
    cmdVisualizar->setObjectName(QStringLiteral("cmdVisualizar"));
    cmdVisualizar->setGeometry(kVisualizarLeft, kButtonTop, kButtonWidth, kButtonHeight);

    cmdFechar = new QPushButton(QStringLiteral("&Fechar"), this);
    cmdFechar->setObjectName(QStringLiteral("cmdFechar"));
    cmdFechar->setGeometry(kFecharLeft, kButtonTop, kButtonWidth, kButtonHeight);

    // A click on a line and a selection made with the keyboard both count as a click
    // on the list; a line only becoming current (as when the list takes the focus)
    // does not.
    connect(lstTem, &QListWidget::itemClicked, this, [this] { lstTemClick(); });
    connect(lstTem, &QListWidget::itemSelectionChanged, this, [this] { lstTemClick(); });
    connect(lstTem, &QListWidget::itemDoubleClicked, this, [this] { cmdVisualizarClick(); });
    connect(cmdVisualizar, &QPushButton::clicked, this, [this] { cmdVisualizarClick(); });
    connect(cmdFechar, &QPushButton::clicked, this, [this] { cmdFecharClick(); });

    centreOnScreen();
}

bool TfrmMostraAlarmes::showTasks(const QList<Task>& tasks) {
    // An open window never goes on listing what is no longer due.
    setTasks(tasks);
    if (tasks.isEmpty()) {
        FormShow();
        m_messages.information(kNoTasks);
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
    for (const Task& task : tasks) {
        lstTem->addItem(task.line);
        m_notes.append(task.note);
    }
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
    m_messages.show(MessageBoxes::Icon::Error, MessageBoxes::titleNotice(), kNoteGone);
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

void TfrmMostraAlarmes::centreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}
