#pragma once

#include "core/notes/PrintFontMetrics.h"

#include <QList>
#include <QString>

// Lays out plain text on pages the way a line printer job writes it: text flows from
// the top left of the printable area, a line break starts a new line, a long line
// wraps at the last character that fits, a tab jumps to the next multiple of eight
// average character widths and a form feed starts a new page.
class PrintLayout {
public:
    // Text written in one font. Runs follow each other without a break of their own;
    // CR LF, a lone CR and a lone LF each end a line, a tab (0x09) and a form feed
    // (0x0C) act as described above.
    struct Run {
        QString text;
        int font = 0;
    };

    // One piece of text on a page; (x, y) is its top left corner relative to the top
    // left of the printable area.
    struct Piece {
        double x = 0;
        double y = 0;
        QString text;
        int font = 0;

        bool operator==(const Piece&) const = default;
    };

    struct Page {
        QList<Piece> pieces;
    };

    // Space kept between two lines, on top of the tallest text of the upper line.
    static constexpr double LineGap = 2;
    // Tab stops lie at multiples of this many average character widths.
    static constexpr int TabCharacters = 8;

    // Lays out the runs on pages of the given printable size. A page size that is not
    // positive in both directions holds nothing, so no pages come back; trailing pages
    // left empty (by a final line break or form feed) are not returned either.
    static QList<Page> layout(double pageWidth, double pageHeight, const QList<Run>& runs,
                              const PrintFontMetrics& metrics);
};
