#pragma once

#include "core/notes/DeletedNotes.h"

#include <QDialog>
#include <QList>

class LocaleInfo;
class QLabel;
class QPushButton;
class QTreeWidget;

// "Notas Excluídas": the deleted notes kept for restoring, the newest first, one line each
// with the note's title and first words and when it was deleted. The user chooses one or
// more and restores them with "&Restaurar" or a double click. Created once and reused;
// modal.
class TfrmNotasExcluidas : public QDialog {
    Q_OBJECT
public:
    explicit TfrmNotasExcluidas(const LocaleInfo& locale, QWidget* parent = nullptr);

    // Lists entries and shows the dialog modally; the entries the user chose to restore,
    // in the order listed, or none when the dialog was closed otherwise.
    QList<DeletedNotes::Entry> choose(const QList<DeletedNotes::Entry>& entries);

    // Fills the list with entries, the first one (the note deleted last) chosen.
    void setEntries(const QList<DeletedNotes::Entry>& entries);
    // The entries of the chosen lines, in the order listed.
    QList<DeletedNotes::Entry> chosen() const;
    // "&Restaurar" is enabled while a line is chosen.
    void lstExcluidasChange();

    QLabel* lblExcluidas = nullptr;
    QTreeWidget* lstExcluidas = nullptr;
    QPushButton* cmdRestaurar = nullptr;
    QPushButton* cmdFechar = nullptr;

    void retranslate();

protected:
    void changeEvent(QEvent* event) override;

private:
    const LocaleInfo& m_locale;
    QList<DeletedNotes::Entry> m_entries;
};
