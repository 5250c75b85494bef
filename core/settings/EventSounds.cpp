#include "core/settings/EventSounds.h"

#include "core/settings/GeneralSettings.h"
#include "platform/SoundPlayer.h"

EventSounds::EventSounds(SoundPlayer& player, const GeneralSettings& recGeral)
    : m_player(player), m_recGeral(recGeral) {}

void EventSounds::newNote() {
    eventSound(m_recGeral.SoundNewSticky);
}

void EventSounds::receivedNote() {
    eventSound(m_recGeral.SoundRecSticky);
}

void EventSounds::deletedNote() {
    eventSound(m_recGeral.SoundDelSticky);
}

void EventSounds::alarm(bool useSound, const QString& soundFile) {
    if (useSound)
        m_player.play(soundFile);
    else
        m_player.beep();
}

void EventSounds::eventSound(const QString& waveFile) {
    // An empty path ("Sem Som") or a missing file is handed on all the same: the player
    // then gives the desktop's default sound.
    if (m_recGeral.UseSounds)
        m_player.play(waveFile);
}
