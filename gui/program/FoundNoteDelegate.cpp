#include "gui/program/FoundNoteDelegate.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QPainter>
#include <QTextDocument>

#include <algorithm>

namespace {

constexpr int Margin = 3;

// The text with its match in bold and underlined; a match cut off by eliding is marked as
// far as it shows.
QString marked(const QString& text, qsizetype start, qsizetype length) {
    length = std::min(length, text.size() - start);
    if (length <= 0 || start < 0)
        return text.toHtmlEscaped();
    return text.left(start).toHtmlEscaped() + QLatin1String("<b><u>") +
           text.mid(start, length).toHtmlEscaped() + QLatin1String("</u></b>") +
           text.mid(start + length).toHtmlEscaped();
}

} // namespace

QString FoundNoteDelegate::html(const QString& line, const QString& context, qsizetype matchStart,
                                qsizetype matchLength) {
    if (context.isEmpty())
        return marked(line, matchStart, matchLength);
    return line.toHtmlEscaped() + QLatin1String("<br>") + marked(context, matchStart, matchLength);
}

void FoundNoteDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    item.text.clear();
    const QStyle* style = item.widget ? item.widget->style() : QApplication::style();
    // Background, selection and focus as the style draws them; the text follows.
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);

    // Lines too long for the list end in "…"; the match comes early in a context, so it
    // stays in view.
    const QRect area = item.rect.adjusted(Margin, Margin, -Margin, -Margin);
    QFont bold = item.font;
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const QString line =
        metrics.elidedText(index.data(LineRole).toString(), Qt::ElideRight, area.width());
    const QString aroundMatch =
        metrics.elidedText(index.data(ContextRole).toString(), Qt::ElideRight, area.width());

    QTextDocument document;
    document.setDocumentMargin(0);
    document.setDefaultFont(item.font);
    QTextOption noWrap;
    noWrap.setWrapMode(QTextOption::NoWrap);
    document.setDefaultTextOption(noWrap);
    document.setHtml(html(line, aroundMatch, index.data(MatchStartRole).toLongLong(),
                          index.data(MatchLengthRole).toLongLong()));

    QAbstractTextDocumentLayout::PaintContext paint;
    const QPalette::ColorGroup group =
        item.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    paint.palette.setColor(QPalette::Text,
                           item.palette.color(group, item.state & QStyle::State_Selected
                                                         ? QPalette::HighlightedText
                                                         : QPalette::Text));
    paint.clip = QRectF(0, 0, area.width(), area.height());
    painter->save();
    painter->translate(area.topLeft());
    painter->setClipRect(paint.clip);
    document.documentLayout()->draw(painter, paint);
    painter->restore();
}

QSize FoundNoteDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    // From the font alone: the list measures every line each time it is refilled. No
    // width of its own: each line takes the list's width and elides what does not fit, so
    // no line needs a horizontal scroll bar.
    const QFontMetrics metrics(option.font);
    const int lines = index.data(ContextRole).toString().isEmpty() ? 1 : 2;
    return {1, lines * metrics.lineSpacing() + 2 * Margin};
}
