#pragma once

#include <QString>
#include <array>

namespace kugelfon {

// The main window's game: the order of the current game and how far it got.
// The drawn numbers are always Zahlenfolge[1..MerkerZahl].
struct GameState {
    qint16 MerkerZahl = 0;
    QString Bingo;
    qint16 BZahl = 0;     // "Bingo!" animation: 0 idle, 1..6 letters next, 7 complete
    qint16 Kontroll = 0;  // the number last put on the display
    float Zeitgeber = 0;  // automatic interval in ms when not 5, 10 or 20 s
    qint16 BildArt = 0;   // screen class 1..4, 0 unsupported
    qint16 SoundB = 0;
    float ResIDZahl = 0;  // the recording last chosen
    qint16 GrZaSchrift = 0;
    qint32 Antwort = 0;   // last answer to a yes/no question of the main window
    std::array<qint16, 91> Zahlenfolge{};
};

} // namespace kugelfon
