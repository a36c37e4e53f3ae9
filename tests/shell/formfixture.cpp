#include "formfixture.h"

#include "platform/clock.h"
#include "platform/errorreport.h"
#include "platform/fontsubstitution.h"

FormFixture::FormFixture(ScreenMetrics screen, QDate today)
{
    ScreenMetrics::setInstance(screen);
    Clock::setInstance(today);
    fontsubstitution::install();
    errorreport::setInstance([this](const QString &text) { errors.append(text); });
}

FormFixture::~FormFixture()
{
    destroy();
    errorreport::resetInstance();
    ScreenMetrics::resetInstance();
    Clock::resetInstance();
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
