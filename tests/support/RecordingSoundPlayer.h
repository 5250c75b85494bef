#pragma once

#include "platform/SoundPlayer.h"

#include <QSet>
#include <QStringList>

#include <functional>

// Remembers what would have been played. A synchronous play succeeds unless the file
// is one of those named in unplayable; whilePlayingSync runs while it "plays".
class RecordingSoundPlayer final : public SoundPlayer {
public:
    void play(const QString& waveFile) override { played.append(waveFile); }
    bool playSync(const QString& waveFile) override {
        playedSync.append(waveFile);
        if (whilePlayingSync)
            whilePlayingSync(waveFile);
        return !unplayable.contains(waveFile);
    }
    void beep() override { ++beeps; }
    QString soundFolder() const override { return folder; }

    QStringList played;
    QStringList playedSync;
    QSet<QString> unplayable;
    std::function<void(const QString&)> whilePlayingSync;
    QString folder = QStringLiteral("/sounds");
    int beeps = 0;
};
