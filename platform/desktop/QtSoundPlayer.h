#pragma once

#include "platform/SoundPlayer.h"

#include <QObject>
#include <optional>

class QSoundEffect;

// Plays wave files through Qt Multimedia. Where no audio device exists Qt reports
// neither an error nor the end of a sound, so the length of every sound is read from
// its wave header first: that both refuses files Qt could not play and bounds how
// long a synchronous play waits.
class QtSoundPlayer final : public QObject, public SoundPlayer {
    Q_OBJECT
public:
    // A synchronous play waits at most the sound's length (counted up to MaxSyncWaitMs)
    // plus this margin for the audio system to start and drain.
    static constexpr int SyncMarginMs = 1000;
    static constexpr int MaxSyncWaitMs = 30000;
    // Larger files are not loaded: Qt reads a sound into memory whole.
    static constexpr qint64 MaxWaveFileBytes = 64 * 1024 * 1024;

    explicit QtSoundPlayer(QObject* parent = nullptr);

    void play(const QString& waveFile) override;
    bool playSync(const QString& waveFile) override;
    void beep() override;
    QString soundFolder() const override;

    // The length in milliseconds of the sound in a regular, readable PCM or float wave
    // file within the size limit; nothing for any other file.
    static std::optional<qint64> waveLengthMs(const QString& path);

Q_SIGNALS:
    // A sound stopped: it ended, or it was replaced by the next one.
    void finishedPlaying();

private:
    // The player for one kind of play, created on first use so a run without sounds
    // never touches the audio system; a sound still playing on it is stopped.
    QSoundEffect* effectFor(QSoundEffect*& effect, const QString& waveFile);

    QSoundEffect* m_effect = nullptr;
    QSoundEffect* m_syncEffect = nullptr;
};
