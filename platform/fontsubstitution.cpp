// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fontsubstitution.h"

#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QMutex>

namespace fontsubstitution {

namespace {
struct Mapping
{
    const char *windowsFace; // UTF-8
    const char *substitutes; // comma-separated, best first
};

// IPAPMincho/IPAPGothic are the proportional faces (the "P" of the MS names),
// IPAMincho/IPAGothic the fixed-pitch ones.
constexpr Mapping kMappings[] = {
    {"ＭＳ Ｐ明朝", "IPAPMincho,IPAMincho"},     {"MS P明朝", "IPAPMincho,IPAMincho"},
    {"ＭＳ 明朝", "IPAMincho,IPAPMincho"},       {"MS 明朝", "IPAMincho,IPAPMincho"},
    {"MS PMincho", "IPAPMincho,IPAMincho"},      {"MS Mincho", "IPAMincho,IPAPMincho"},
    {"ＭＳ Ｐゴシック", "IPAPGothic,IPAGothic"}, {"MS Pゴシック", "IPAPGothic,IPAGothic"},
    {"ＭＳ ゴシック", "IPAGothic,IPAPGothic"},   {"MS ゴシック", "IPAGothic,IPAPGothic"},
    {"MS PGothic", "IPAPGothic,IPAGothic"},      {"MS Gothic", "IPAGothic,IPAPGothic"},
    {"MS UI Gothic", "IPAPGothic,IPAGothic"},    {"Georgia", "DejaVu Serif,IPAPMincho"},
    {"Georgia Bold", "DejaVu Serif,IPAPMincho"}, {"Lucida Sans Unicode", "DejaVu Sans,IPAPGothic"},
};
} // namespace

QStringList substitutesFor(const QString &windowsFace)
{
    for (const Mapping &m : kMappings) {
        if (QString::fromUtf8(m.windowsFace).compare(windowsFace, Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(m.substitutes).split(QLatin1Char(','));
    }
    return {};
}

void install()
{
    for (const Mapping &m : kMappings) {
        QFont::insertSubstitutions(QString::fromUtf8(m.windowsFace),
                                   QString::fromUtf8(m.substitutes).split(QLatin1Char(',')));
    }
}

QString drawnFamily(const QString &face)
{
    // A run of letters wraps on a thread of its own while the window draws.
    static QMutex guard;
    const QMutexLocker locked(&guard);
    static QHash<QString, QString> known;
    const auto found = known.constFind(face);
    if (found != known.constEnd())
        return *found;
    // The installed families as listed: asking the font system whether a
    // family exists also looks for aliases of it, a search that costs more
    // than the whole list.
    const QStringList installed = QFontDatabase::families();
    QString family = face;
    if (!installed.contains(face)) {
        for (const QString &substitute : substitutesFor(face)) {
            if (installed.contains(substitute)) {
                family = substitute;
                break;
            }
        }
    }
    known.insert(face, family);
    return family;
}

} // namespace fontsubstitution
