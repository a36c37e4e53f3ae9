#include "formfixture.h"

#include "platform/clock.h"
#include "platform/errorreport.h"
#include "platform/fontsubstitution.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

FormFixture::FormFixture(ScreenMetrics screen, QDate today)
{
    ScreenMetrics::setFixed(screen);
    Clock::setFixedToday(today);
    fontsubstitution::install();
    errorreport::setPresenter([this](const QString &text) { errors.append(text); });
}

FormFixture::~FormFixture()
{
    destroy();
    errorreport::setPresenter({});
    ScreenMetrics::setFixed(std::nullopt);
    Clock::setFixedToday(std::nullopt);
}

void FormFixture::writeFile(const QString &relative, const QByteArray &bytes) const
{
    QDir().mkpath(QFileInfo(path(relative)).absolutePath());
    QFile f(path(relative));
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QByteArray FormFixture::readFile(const QString &relative) const
{
    QFile f(path(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TForm1 &FormFixture::start(const QString &exeName)
{
    destroy();
    m_form = std::make_unique<TForm1>(programDir() + exeName);
    m_list = std::make_unique<TFList>();
    m_form->setDataHolder(m_list.get());
    return *m_form;
}

void FormFixture::destroy()
{
    m_list.reset();
    m_form.reset();
}
