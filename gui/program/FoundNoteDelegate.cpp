#include "gui/program/FoundNoteDelegate.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QPainter>
#include <QTextDocument>

namespace {

constexpr int Margin = 3;

QString marked(const QString& text, qsizetype start, qsizetype length) {
    if (length <= 0 || start < 0 || start + length > text.size())
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

    QTextDocument document;
    document.setDocumentMargin(0);
    document.setDefaultFont(item.font);
    QTextOption noWrap;
    noWrap.setWrapMode(QTextOption::NoWrap);
    document.setDefaultTextOption(noWrap);
    document.setHtml(html(index.data(LineRole).toString(), index.data(ContextRole).toString(),
                          index.data(MatchStartRole).toLongLong(),
                          index.data(MatchLengthRole).toLongLong()));

    const QRect area = item.rect.adjusted(Margin, Margin, -Margin, -Margin);
    QAbstractTextDocumentLayout::PaintContext context;
    const QPalette::ColorGroup group =
        item.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    context.palette.setColor(QPalette::Text,
                             item.palette.color(group, item.state & QStyle::State_Selected
                                                           ? QPalette::HighlightedText
                                                           : QPalette::Text));
    context.clip = QRectF(0, 0, area.width(), area.height());
    painter->save();
    painter->translate(area.topLeft());
    painter->setClipRect(context.clip);
    document.documentLayout()->draw(painter, context);
    painter->restore();
}

QSize FoundNoteDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    // From the font alone: the list measures every line each time it is refilled.
    QFont bold = option.font;
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const QString line = index.data(LineRole).toString();
    const QString context = index.data(ContextRole).toString();
    const int lines = context.isEmpty() ? 1 : 2;
    const int width = std::max(metrics.horizontalAdvance(line), metrics.horizontalAdvance(context));
    return {width + 2 * Margin, lines * metrics.lineSpacing() + 2 * Margin};
}
