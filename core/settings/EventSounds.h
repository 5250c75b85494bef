#pragma once

#include <QString>

class SoundPlayer;
struct GeneralSettings;

// The one place that decides which sound a note event plays: the three note events
// under the UseSounds switch with the files of the settings, and an alarm with its
// note's own sound or the plain beep. Every sound is asynchronous and replaces one
// still playing. The settings are read at each event, so changes apply at once.
class EventSounds {
public:
    EventSounds(SoundPlayer& player, const GeneralSettings& recGeral);

    // The user (or the browser capture) creates a note: SoundNewSticky.
    void newNote();
    // A note arrives over the network: SoundRecSticky.
    void receivedNote();
    // A note is deleted, after its confirmation: SoundDelSticky.
    void deletedNote();
    // A note's alarm goes off: its SoundFile when its UseSound is on, whatever the
    // UseSounds switch says; the simple beep otherwise.
    void alarm(bool useSound, const QString& soundFile);

private:
    void eventSound(const QString& waveFile);

    SoundPlayer& m_player;
    const GeneralSettings& m_recGeral;
};
