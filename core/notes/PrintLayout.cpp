#include "core/notes/PrintLayout.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr QChar Tab = QChar(0x09);
constexpr QChar LineFeed = QChar(0x0A);
constexpr QChar FormFeed = QChar(0x0C);
constexpr QChar CarriageReturn = QChar(0x0D);

bool isControl(QChar c) {
    return c == Tab || c == LineFeed || c == FormFeed || c == CarriageReturn;
}

// The write position and the pages written so far.
class Writer {
public:
    Writer(double pageWidth, double pageHeight, const PrintFontMetrics& metrics)
        : m_width(pageWidth), m_height(pageHeight), m_metrics(metrics) {
        m_pages.append(PrintLayout::Page());
    }

    // Writes text that holds no control characters, wrapping it where it reaches the
    // right edge of the page.
    void write(QStringView text, int font) {
        while (!text.isEmpty()) {
            qsizetype count = fittingLength(text, font, m_width - m_x);
            if (count == 0) {
                if (m_x > 0) {
                    // Nothing more fits on this line; the text starts the next one.
                    newLine(font);
                    continue;
                }
                // Not even one character fits on an empty line: it is written all the
                // same, so the text always moves on.
                count = characterLength(text, 0);
            }
            const QStringView piece = text.first(count);
            m_pages.last().pieces.append(PrintLayout::Piece{m_x, m_y, piece.toString(), font});
            m_tallest = std::max(m_tallest, m_metrics.textHeight(font));
            text = text.sliced(count);
            if (text.isEmpty())
                m_x += m_metrics.textWidth(font, piece);
            else
                newLine(font);
        }
    }

    void tab(int font) {
        const double step = m_metrics.averageCharWidth(font) * PrintLayout::TabCharacters;
        if (!(step > 0))
            return;
        double next = (std::floor(m_x / step) + 1) * step;
        if (next <= m_x)
            next += step;
        m_x = next;
        if (m_x > m_width)
            newLine(font);
    }

    // Ends the current line. An empty line is as tall as text in the current font.
    void newLine(int font) {
        const double tallest = m_tallest > 0 ? m_tallest : m_metrics.textHeight(font);
        const double advance = std::max(0.0, tallest) + PrintLayout::LineGap;
        m_x = 0;
        m_y += advance;
        m_tallest = 0;
        if (m_height - m_y < 2 * advance)
            newPage();
    }

    void newPage() {
        m_x = 0;
        m_y = 0;
        m_tallest = 0;
        m_pages.append(PrintLayout::Page());
    }

    QList<PrintLayout::Page> finish() {
        while (!m_pages.isEmpty() && m_pages.last().pieces.isEmpty())
            m_pages.removeLast();
        return m_pages;
    }

private:
    // Length of a character at the start of the text: two for a surrogate pair.
    static qsizetype characterLength(QStringView text, qsizetype at) {
        if (at + 1 < text.size() && text[at].isHighSurrogate() && text[at + 1].isLowSurrogate())
            return 2;
        return 1;
    }

    // The longest start of the text, in whole characters, no wider than the space.
    qsizetype fittingLength(QStringView text, int font, double space) const {
        if (!(space >= 0))
            return 0;
        // Widen the measured start by doubling until it no longer fits, so a very long
        // line costs about as much as the part printed on this line, not its whole rest.
        qsizetype probe = 1;
        while (probe < text.size() && m_metrics.textWidth(font, text.first(probe)) <= space)
            probe *= 2;
        if (probe >= text.size()) {
            if (m_metrics.textWidth(font, text) <= space)
                return text.size();
            probe = text.size();
        }
        qsizetype fits = probe / 2;
        qsizetype tooLong = probe;
        while (tooLong - fits > 1) {
            const qsizetype middle = fits + (tooLong - fits) / 2;
            if (m_metrics.textWidth(font, text.first(middle)) <= space)
                fits = middle;
            else
                tooLong = middle;
        }
        if (fits > 0 && text[fits - 1].isHighSurrogate() && text[fits].isLowSurrogate())
            --fits;
        return fits;
    }

    const double m_width;
    const double m_height;
    const PrintFontMetrics& m_metrics;
    double m_x = 0;
    double m_y = 0;
    double m_tallest = 0; // tallest text written on the current line
    QList<PrintLayout::Page> m_pages;
};

} // namespace

QList<PrintLayout::Page> PrintLayout::layout(double pageWidth, double pageHeight,
                                             const QList<Run>& runs,
                                             const PrintFontMetrics& metrics) {
    if (!(pageWidth > 0) || !(pageHeight > 0))
        return {};
    Writer writer(pageWidth, pageHeight, metrics);
    bool afterCarriageReturn = false;
    for (const Run& run : runs) {
        const QStringView text(run.text);
        qsizetype start = 0;
        for (qsizetype i = 0; i <= text.size(); ++i) {
            if (i < text.size() && !isControl(text[i]))
                continue;
            if (i > start) {
                writer.write(text.sliced(start, i - start), run.font);
                afterCarriageReturn = false;
            }
            start = i + 1;
            if (i == text.size())
                break;
            const QChar c = text[i];
            if (c == LineFeed && afterCarriageReturn) {
                // The second half of a CR LF pair: the line has already ended.
                afterCarriageReturn = false;
                continue;
            }
            afterCarriageReturn = c == CarriageReturn;
            if (c == Tab)
                writer.tab(run.font);
            else if (c == FormFeed)
                writer.newPage();
            else
                writer.newLine(run.font);
        }
    }
    return writer.finish();
}
