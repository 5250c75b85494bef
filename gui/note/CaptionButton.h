#pragma once

#include <QPushButton>

// A caption bar button ("-", "X"): white with a grey rim, pale grey while pressed, black
// text, in every style. It paints itself instead of carrying a style sheet, which would
// give each note window a style of its own to build and keep.
class CaptionButton : public QPushButton {
    Q_OBJECT
public:
    CaptionButton(const QString& text, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
