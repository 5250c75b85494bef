#include "ScriptedCommonDialogs.h"

#include <QTest>

namespace {

void unexpected(const QString& kind) {
    QTest::qFail(qPrintable(QStringLiteral("unexpected %1 dialog").arg(kind)), __FILE__, __LINE__);
}

} // namespace

QString ScriptedCommonDialogs::nextPath(const QString& kind, const QString& title,
                                        const QString& start) {
    opened.append({kind, title, start});
    if (m_paths.isEmpty()) {
        unexpected(kind);
        return QString();
    }
    return m_paths.dequeue();
}

QString ScriptedCommonDialogs::openFile(QWidget*, const QString& title, const QString& startPath,
                                        const QString&) {
    return nextPath(QStringLiteral("openFile"), title, startPath);
}

QString ScriptedCommonDialogs::saveFile(QWidget*, const QString& title,
                                        const QString& suggestedPath, const QString&) {
    return nextPath(QStringLiteral("saveFile"), title, suggestedPath);
}

QString ScriptedCommonDialogs::folder(QWidget*, const QString& title, const QString& startFolder) {
    return nextPath(QStringLiteral("folder"), title, startFolder);
}

std::optional<int> ScriptedCommonDialogs::color(QWidget*, int initial) {
    opened.append({QStringLiteral("color"), QString(), QString::number(initial)});
    lastInitialColor = initial;
    if (m_colors.isEmpty()) {
        unexpected(QStringLiteral("color"));
        return std::nullopt;
    }
    return m_colors.dequeue();
}

std::optional<NoteFont> ScriptedCommonDialogs::font(QWidget*, const NoteFont& initial) {
    opened.append({QStringLiteral("font"), QString(), initial.Name});
    lastInitialFont = initial;
    if (m_fonts.isEmpty()) {
        unexpected(QStringLiteral("font"));
        return std::nullopt;
    }
    return m_fonts.dequeue();
}

bool ScriptedCommonDialogs::print(QWidget*, QPrinter&) {
    opened.append({QStringLiteral("print"), QString(), QString()});
    if (m_prints.isEmpty()) {
        unexpected(QStringLiteral("print"));
        return false;
    }
    return m_prints.dequeue();
}
