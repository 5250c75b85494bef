#pragma once

#include "core/base/NoteFont.h"

#include <QString>
#include <optional>

class QPrinter;
class QWidget;

// The desktop's common dialogs: files, folders, colours, fonts and printing. Every such
// dialog the program opens goes through here, so tests answer them in advance. Each
// call is modal and returns the user's choice, or nothing (an empty path, false) when
// the dialog was cancelled. Colours are Windows colour values 0x00BBGGRR.
class CommonDialogs {
public:
    virtual ~CommonDialogs() = default;

    // filter as Qt writes it, for example "Arquivos Wave (*.wav)"; startPath is a
    // folder or a file to start at.
    virtual QString openFile(QWidget* parent, const QString& title, const QString& startPath,
                             const QString& filter) = 0;
    // Asks for a file to write; an existing file is not questioned.
    virtual QString saveFile(QWidget* parent, const QString& title, const QString& suggestedPath,
                             const QString& filter) = 0;
    virtual QString folder(QWidget* parent, const QString& title, const QString& startFolder) = 0;
    virtual std::optional<int> color(QWidget* parent, int initial) = 0;
    // Face, size, style and colour.
    virtual std::optional<NoteFont> font(QWidget* parent, const NoteFont& initial) = 0;
    // The print dialog for printer; true when the user asked to print.
    virtual bool print(QWidget* parent, QPrinter& printer) = 0;
};
