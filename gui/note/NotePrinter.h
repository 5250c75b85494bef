#pragma once

#include "core/notes/PrintFontMetrics.h"

#include <QFont>
#include <QFontMetricsF>
#include <QList>
#include <QString>

class QPaintDevice;
class QPrinter;
class QWidget;

// Prints a note as plain text: its caption, a rule of hyphens and a blank line in the
// printer's default font, then the note's text in the note's own font.
class NotePrinter {
public:
    // Font metrics of a list of fonts as they come out on one paint device.
    class DeviceMetrics final : public PrintFontMetrics {
    public:
        // Font indexes outside the list measure with the nearest one (the default font
        // when the list is empty).
        DeviceMetrics(const QList<QFont>& fonts, QPaintDevice* device);

        double textHeight(int font) const override;
        double textWidth(int font, QStringView text) const override;
        double averageCharWidth(int font) const override;

    private:
        const QFontMetricsF& at(int font) const;

        QList<QFontMetricsF> m_metrics;
    };

    // Font indexes of the layout.
    static constexpr int DefaultFont = 0;
    static constexpr int NoteFont = 1;
    static constexpr int RuleLength = 80;
    // The least margin left on each side of the paper, where printers commonly cannot
    // print; a printer that needs more gets its own.
    static constexpr double MinimumMarginMm = 10.0;

    // The print job's title for a note.
    static QString jobTitle(const QString& caption);

    // Prints the note on the printer as it is set up, with margins of at least
    // MinimumMarginMm. Returns false when the job could not be started or a page could
    // not be added; nothing is ever reported to the user.
    static bool print(QPrinter& printer, const QString& caption, const QString& noteText,
                      const QFont& noteFont);

private:
    // Widens the printer's margins that are narrower than MinimumMarginMm or than what
    // the printer can print.
    static void keepMargins(QPrinter& printer);
};
