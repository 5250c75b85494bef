#pragma once

#include "platform/CommonDialogs.h"

#include <QList>
#include <QQueue>
#include <QString>

// Answers the common dialogs from queues the test fills in advance and records what
// each dialog was opened with. A dialog nobody prepared an answer for fails the test
// and counts as cancelled.
class ScriptedCommonDialogs final : public CommonDialogs {
public:
    struct Opened {
        QString kind; // "openFile", "saveFile", "folder", "color", "font", "print"
        QString title;
        QString start; // start path, or the initial colour or font as text
    };

    QString openFile(QWidget* parent, const QString& title, const QString& startPath,
                     const QString& filter) override;
    QString saveFile(QWidget* parent, const QString& title, const QString& suggestedPath,
                     const QString& filter) override;
    QString folder(QWidget* parent, const QString& title, const QString& startFolder) override;
    std::optional<int> color(QWidget* parent, int initial) override;
    std::optional<NoteFont> font(QWidget* parent, const NoteFont& initial) override;
    bool print(QWidget* parent, QPrinter& printer) override;

    // An empty path answers a file or folder dialog with Cancel.
    void answerPath(const QString& path) { m_paths.enqueue(path); }
    void answerColor(std::optional<int> color) { m_colors.enqueue(color); }
    void answerFont(std::optional<NoteFont> font) { m_fonts.enqueue(font); }
    void answerPrint(bool print) { m_prints.enqueue(print); }

    QList<Opened> opened;
    int lastInitialColor = 0;
    NoteFont lastInitialFont;

private:
    QString nextPath(const QString& kind, const QString& title, const QString& start);

    QQueue<QString> m_paths;
    QQueue<std::optional<int>> m_colors;
    QQueue<std::optional<NoteFont>> m_fonts;
    QQueue<bool> m_prints;
};
