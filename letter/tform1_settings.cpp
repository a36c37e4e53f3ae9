// The layout settings file: the window position and each box's font and
// geometry, read at start-up and written at close.

#include "shell/tform1.h"

#include "letter/boxmemo.h"
#include "letter/settingsfile.h"
#include "platform/cp932.h"
#include "platform/errorreport.h"
#include "platform/profilefile.h"
#include "platform/windowsystem.h"
#include "shell/panel.h"

#include <algorithm>

namespace {
using settingsfile::BoxKey;

// Values past these make no sense on any screen and would overflow Qt's
// geometry arithmetic; what lies within is applied as read.
constexpr int kMaxCoordinate = 1000000;
constexpr int kMaxWindowCoordinate = 30000; // X11 keeps window positions in 16 bits

// A face name is applied as at most 31 bytes of code page 932, cut at a
// whole character.
QString faceNameAsApplied(const QString &name)
{
    if (cp932::encode(name).size() <= 31)
        return name;
    QString cut;
    for (qsizetype i = 0; i < name.size(); ++i) {
        qsizetype len = name[i].isHighSurrogate() && i + 1 < name.size() ? 2 : 1;
        const QString next = cut + name.mid(i, len);
        if (cp932::encode(next).size() > 31)
            break;
        cut = next;
        i += len - 1;
    }
    return cut;
}
} // namespace

const ProfileFile &TForm1::settingsForReading()
{
    if (!m_settingsRead)
        m_settingsRead = std::make_unique<ProfileFile>(ProfileFile::load(settingsFile));
    return *m_settingsRead;
}

void TForm1::ReadWindowPos()
{
    const ProfileFile &settings = settingsForReading();
    const int left =
        settings.readInt(settingsSection, settingsfile::kFormLeft, settingsfile::kDefaultFormLeft);
    move(std::clamp(left, -kMaxWindowCoordinate, kMaxWindowCoordinate), y());
    const int top =
        settings.readInt(settingsSection, settingsfile::kFormTop, settingsfile::kDefaultFormTop);
    move(x(), std::clamp(top, -kMaxWindowCoordinate, kMaxWindowCoordinate));
    m_storedWindowPos = QPoint(left, top);
}

void TForm1::ReadBoxLayout(int box)
{
    const ProfileFile &settings = settingsForReading();
    auto key = [box](BoxKey k) { return settingsfile::boxKey(box, k); };

    const QString face = settings.readString(settingsSection, key(BoxKey::FontName),
                                             settingsfile::defaultFontName());
    if (!face.isEmpty()) {
        QFont f = memos[box]->font();
        f.setFamily(faceNameAsApplied(face));
        memos[box]->setFont(f);
    }
    setMemoFontPoints(box, settings.readInt(settingsSection, key(BoxKey::FontSize),
                                            settingsfile::kDefaultFontSize));

    // Each geometry value defaults to what the frame has when it is read.
    auto read = [&](BoxKey k, int current, int low) {
        return std::clamp(settings.readInt(settingsSection, key(k), current), low, kMaxCoordinate);
    };
    QRect r = framePageRect(box);
    r.moveLeft(read(BoxKey::Left, r.left(), -kMaxCoordinate));
    setFramePageRect(box, r);
    r.moveTop(read(BoxKey::Top, r.top(), -kMaxCoordinate));
    setFramePageRect(box, r);
    r.setWidth(read(BoxKey::Width, r.width(), 0));
    setFramePageRect(box, r);
    r.setHeight(read(BoxKey::Height, r.height(), 0));
    setFramePageRect(box, r);
}

void TForm1::putWindowPos(ProfileFile &settings) const
{
    const QPoint at = windowsystem::reportsWindowPosition() ? pos() : m_storedWindowPos;
    settings.setInt(settingsSection, settingsfile::kFormTop, at.y());
    settings.setInt(settingsSection, settingsfile::kFormLeft, at.x());
}

void TForm1::putBoxLayout(ProfileFile &settings, int box) const
{
    auto key = [box](BoxKey k) { return settingsfile::boxKey(box, k); };
    const QRect r = framePageRect(box);
    settings.setValue(settingsSection, key(BoxKey::FontName), memos[box]->font().family());
    settings.setInt(settingsSection, key(BoxKey::FontSize), memoFontPoints(box));
    settings.setInt(settingsSection, key(BoxKey::Left), r.left());
    settings.setInt(settingsSection, key(BoxKey::Top), r.top());
    settings.setInt(settingsSection, key(BoxKey::Width), r.width());
    settings.setInt(settingsSection, key(BoxKey::Height), r.height());
}

bool TForm1::WriteWindowPos()
{
    m_settingsWrite = std::make_unique<ProfileFile>(ProfileFile::load(settingsFile));
    putWindowPos(*m_settingsWrite);
    return true;
}

bool TForm1::WriteBoxLayout(int box)
{
    if (!m_settingsWrite)
        m_settingsWrite = std::make_unique<ProfileFile>(ProfileFile::load(settingsFile));
    putBoxLayout(*m_settingsWrite, box);
    return true;
}

bool TForm1::commitSettings()
{
    // All keys go to disk in one atomic replace: a failure leaves the old
    // file whole and is reported as the write error of the settings file.
    const std::unique_ptr<ProfileFile> settings = std::move(m_settingsWrite);
    if (!settings)
        return true;
    QString error;
    if (!settingsfile::save(*settings, &error)) {
        errorreport::show(error);
        return false;
    }
    return true;
}
