#pragma once

#include <QString>

// Plays the program's wave sounds.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;

    // Starts playing a wave file once and returns at once; a sound still playing is
    // replaced. Only a regular, readable wave file is played: anything else (a missing
    // file, an empty path) gives the desktop's default sound instead.
    virtual void play(const QString& waveFile) = 0;
    // Plays a wave file and returns when it has ended, but never later than the sound's
    // own length plus a short margin, even where the audio system reports nothing.
    // False, with nothing played, when the file is missing, unreadable or not a wave
    // file the player understands.
    virtual bool playSync(const QString& waveFile) = 0;
    // The system's default alert sound.
    virtual void beep() = 0;
    // The folder in which the desktop keeps its sounds, where choosing a sound starts.
    virtual QString soundFolder() const = 0;
};
