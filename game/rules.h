#pragma once

#include <QString>

namespace kugelfon {

// Nearest integer, halves to the even neighbour.
long long roundHalfEven(double value);

// The pool is used up once the count passes its size.
bool poolUsedUp(qint16 zahlenModus, int merkerZahl);

// Automatic interval in ms for ZahlenInterval in seconds.
int autoIntervalMs(float zahlenInterval);

// A caption read as a decimal number the way the status row is read back:
// leading blanks skipped, digits up to the first non-digit, 0 when none.
double leadingNumber(const QString &text);

// Recording of number n (0 for an empty entry) in a voice: 10001 + n or
// 20001 + n; -1 for an unknown voice.
int recordingIdForNumber(qint16 stimmenModus, int n);
// "Bingo!" in a voice: 10000 or 20000; -1 for an unknown voice.
int recordingIdForBingo(qint16 stimmenModus);

namespace texts {
QString endOfPool();
QString quitQuestion();
QString quitTitle();
QString continueQuestion();
QString continueTitle();
QString unsupportedScreen(int width, int height);
} // namespace texts

} // namespace kugelfon
