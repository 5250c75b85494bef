#include "gui/note/NoteFooter.h"

#include "core/notes/NoteDefaults.h"
#include "core/notes/NoteGeometry.h"
#include "gui/note/NoteLabelFont.h"

#include <QLabel>

NoteFooter::NoteFooter(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pnlRodape"));
    setAutoFillBackground(true);
    setCursor(Qt::ArrowCursor);
    hide();

    lblRodape = new QLabel(this);
    lblRodape->setObjectName(QStringLiteral("lblRodape"));
    lblRodape->setTextFormat(Qt::PlainText);
    lblRodape->setFont(NoteLabelFont::font(false, true));
    lblRodape->move(3, 1);

    resize(NoteDefaults::DesignWidth, NoteGeometry::FooterHeight);
}

QString NoteFooter::text() const {
    return lblRodape->text();
}

void NoteFooter::setText(const QString& text) {
    lblRodape->setText(text);
    lblRodape->adjustSize();
    setVisible(!text.isEmpty());
}
