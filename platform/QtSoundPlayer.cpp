#include "platform/QtSoundPlayer.h"

#include <QApplication>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

QtSoundPlayer::QtSoundPlayer(QObject* parent) : QObject(parent) {}

void QtSoundPlayer::play(const QString& waveFile) {
    if (waveFile.isEmpty() || !QFileInfo(waveFile).isFile())
        return;
    // One player for every sound, created on first use so a start without sounds never
    // touches the audio system.
    if (!m_effect)
        m_effect = new QSoundEffect(this);
    m_effect->stop();
    m_effect->setSource(QUrl::fromLocalFile(QFileInfo(waveFile).absoluteFilePath()));
    m_effect->setLoopCount(1);
    m_effect->play();
}

void QtSoundPlayer::beep() {
    QApplication::beep();
}
