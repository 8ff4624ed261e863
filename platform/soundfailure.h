#pragma once

#include <QString>

namespace kugelfon {

// How a sound device failed a call.
enum class SoundTrouble { Open, Format, Silent, Stalled, PlayError, NoAnswer };

// The organiser's notice for a failed call on `device` ("das ALSA-Gerät
// „default“"): what failed, then `whatToCheck`, the system's own advice.
QString soundFailureNotice(const QString &device, SoundTrouble trouble, const QString &whatToCheck);
// The one line for stderr, with the system's own words for it, if any.
QString soundFailureLine(const QString &device, SoundTrouble trouble, const QString &detail);

} // namespace kugelfon
