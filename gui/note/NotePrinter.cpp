#include "gui/note/NotePrinter.h"

#include "core/notes/PrintLayout.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

NotePrinter::DeviceMetrics::DeviceMetrics(const QList<QFont>& fonts, QPaintDevice* device) {
    m_metrics.reserve(fonts.size());
    for (const QFont& font : fonts)
        m_metrics.append(QFontMetricsF(font, device));
    if (m_metrics.isEmpty())
        m_metrics.append(QFontMetricsF(QFont(), device));
}

const QFontMetricsF& NotePrinter::DeviceMetrics::at(int font) const {
    return m_metrics.at(std::clamp<qsizetype>(font, 0, m_metrics.size() - 1));
}

double NotePrinter::DeviceMetrics::textHeight(int font) const {
    return at(font).height();
}

double NotePrinter::DeviceMetrics::textWidth(int font, QStringView text) const {
    return at(font).horizontalAdvance(text.toString());
}

double NotePrinter::DeviceMetrics::averageCharWidth(int font) const {
    return at(font).averageCharWidth();
}

QString NotePrinter::jobTitle(const QString& caption) {
    return QStringLiteral("Tacknote  - ") + caption;
}

void NotePrinter::keepMargins(QPrinter& printer) {
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    const QMarginsF current = layout.margins();
    const QMarginsF printable = layout.minimumMargins();
    const auto side = [](double margin, double least) {
        return std::max({margin, least, MinimumMarginMm});
    };
    printer.setPageMargins(QMarginsF(side(current.left(), printable.left()),
                                     side(current.top(), printable.top()),
                                     side(current.right(), printable.right()),
                                     side(current.bottom(), printable.bottom())),
                           QPageLayout::Millimeter);
}

bool NotePrinter::print(QPrinter& printer, const QString& caption, const QString& noteText,
                        const QFont& noteFont) {
    printer.setDocName(jobTitle(caption));
    keepMargins(printer);

    // Both fonts are resolved against the printer so that measuring and painting agree.
    const QList<QFont> fonts{QFont(QFont(), &printer), QFont(noteFont, &printer)};
    const DeviceMetrics metrics(fonts, &printer);
    QList<double> ascents;
    for (const QFont& font : fonts)
        ascents.append(QFontMetricsF(font, &printer).ascent());
    const QList<PrintLayout::Run> runs{
        {caption + QLatin1Char('\n'), DefaultFont},
        {QString(RuleLength, QLatin1Char('-')) + QLatin1Char('\n'), DefaultFont},
        {QStringLiteral(" \n"), DefaultFont},
        {noteText, NoteFont},
    };
    const QList<PrintLayout::Page> pages =
        PrintLayout::layout(printer.width(), printer.height(), runs, metrics);

    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    bool ok = true;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0 && !printer.newPage()) {
            ok = false;
            break;
        }
        for (const PrintLayout::Piece& piece : pages.at(i).pieces) {
            const qsizetype index = std::clamp<qsizetype>(piece.font, 0, fonts.size() - 1);
            painter.setFont(fonts.at(index));
            // Pieces are placed by their top edge; the painter writes on the baseline.
            painter.drawText(QPointF(piece.x, piece.y + ascents.at(index)), piece.text);
        }
    }
    if (!painter.end())
        ok = false;
    return ok && printer.printerState() != QPrinter::Error;
}
