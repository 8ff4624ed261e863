#include "fakes/fakes.h"

#include "platform/appinfo.h"

namespace kugelfon::test {

bool FakeTimer::tick()
{
    if (!m_enabled || m_interval <= 0)
        return false;
    if (m_hold->depth > 0) {
        if (!m_hold->due.contains(this))
            m_hold->due.append(this);
        return false;
    }
    fire();
    return true;
}

int FakeMessageBoxes::show(QWidget *, const QString &text, MsgButtons buttons, const QString &title)
{
    const ShownBox box{text, buttons, title.isEmpty() ? appinfo::title() : title};
    shown.append(box);
    ++open;
    const int answer = responder ? responder(box) : kAnswerYes;
    --open;
    return buttons == MsgButtons::Ok ? kAnswerOk : answer == kAnswerNo ? kAnswerNo : kAnswerYes;
}

double FakeRandom::next()
{
    if (!queued.isEmpty())
        return queued.takeFirst();
    quint64 z = (m_state += 0x9E3779B97F4A7C15ULL); // splitmix64
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return static_cast<double>((z ^ (z >> 31)) >> 11) * 0x1.0p-53;
}

// A binary portable pixmap, which Qt reads without a plugin and which needs
// no GUI library to write.
QByteArray FakeResources::picture(const QString &) const
{
    QByteArray cyan = "P6 8 8 255\n";
    for (int i = 0; i < 8 * 8; ++i)
        cyan.append("\x00\xff\xff", 3);
    return cyan;
}

} // namespace kugelfon::test
