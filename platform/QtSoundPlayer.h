#pragma once

#include "platform/SoundPlayer.h"

#include <QObject>

class QSoundEffect;

class QtSoundPlayer final : public QObject, public SoundPlayer {
    Q_OBJECT
public:
    explicit QtSoundPlayer(QObject* parent = nullptr);

    void play(const QString& waveFile) override;
    void beep() override;

private:
    QSoundEffect* m_effect = nullptr;
};
