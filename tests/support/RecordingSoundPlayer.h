#pragma once

#include "platform/SoundPlayer.h"

#include <QStringList>

// Remembers what would have been played.
class RecordingSoundPlayer final : public SoundPlayer {
public:
    void play(const QString& waveFile) override { played.append(waveFile); }
    void beep() override { ++beeps; }

    QStringList played;
    int beeps = 0;
};
