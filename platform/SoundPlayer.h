#pragma once

#include <QString>

// Plays the program's sounds. Playing never waits: it starts and returns.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;

    // Starts playing a wave file once; a sound still playing is replaced. A file that
    // cannot be played is silently skipped.
    virtual void play(const QString& waveFile) = 0;
    // The system's default alert sound.
    virtual void beep() = 0;
};
