#pragma once
// The alarm sound: the chime we ship, played by the desktop's sound player; the system beep when
// there is none.

#include <QStringList>

class SoundFileBeeper {
public:
    SoundFileBeeper();
    ~SoundFileBeeper();
    SoundFileBeeper(const SoundFileBeeper&) = delete;
    SoundFileBeeper& operator=(const SoundFileBeeper&) = delete;
    // Starts one chime and returns at once.
    void Beep();
    // False when only the system beep is left, which many desktops keep silent.
    bool HasPlayer() const { return !soundFile_.isEmpty(); }

private:
    QString player_;        // paplay or aplay found in PATH, else empty
    QStringList arguments_; // the player's arguments, the sound file last
    QString soundFile_; // the chime copied out of the program's resources
};
