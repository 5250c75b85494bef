#pragma once

#include <QStyledItemDelegate>

// Draws a line of the "Localizar Nota" list: the note's title and first words and, when
// the match lies beyond them, the words around it on a second line, with the match in
// bold and underlined. The texts are shown as plain text, whatever they hold.
class FoundNoteDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // The item data the delegate draws from, beside the display text that names the line
    // to assistive technology.
    enum Role {
        LineRole = Qt::UserRole + 1,
        ContextRole,
        MatchStartRole,
        MatchLengthRole,
    };

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The rich text of a line: escaped, with the match marked and the context, if any, on
    // a line of its own.
    static QString html(const QString& line, const QString& context, qsizetype matchStart,
                        qsizetype matchLength);
};
