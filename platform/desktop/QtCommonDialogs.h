#pragma once

#include "platform/CommonDialogs.h"

// The common dialogs as Qt draws them.
class QtCommonDialogs final : public CommonDialogs {
public:
    QString openFile(QWidget* parent, const QString& title, const QString& startPath,
                     const QString& filter) override;
    QString saveFile(QWidget* parent, const QString& title, const QString& suggestedPath,
                     const QString& filter) override;
    QString folder(QWidget* parent, const QString& title, const QString& startFolder) override;
    std::optional<int> color(QWidget* parent, int initial) override;
    std::optional<NoteFont> font(QWidget* parent, const NoteFont& initial) override;
    bool print(QWidget* parent, QPrinter& printer) override;
};
