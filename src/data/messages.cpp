#include "messages.h"

#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

int ScriptedMessages::take(Buttons buttons)
{
    if (buttons == Buttons::Ok) {
        if (!m_answers.isEmpty() && m_answers.head() == Ok)
            m_answers.dequeue();
        return Ok;
    }
    return m_answers.isEmpty() ? No : m_answers.dequeue();
}

void ScriptedMessages::information(const QString &text)
{
    m_shown << Shown{u"information"_s, text, u"Tavimor"_s, Kind::Information, Buttons::Ok, take(Buttons::Ok)};
}

int ScriptedMessages::messageBox(const QString &text, Kind kind, Buttons buttons)
{
    const QString title = kind == Kind::Error ? u"Error"_s : u"Warning"_s;
    m_shown << Shown{u"messageBox"_s, text, title, kind, buttons, take(buttons)};
    return m_shown.last().answer;
}

int ScriptedMessages::plainBox(const QString &text, const QString &title, Kind kind, Buttons buttons)
{
    m_shown << Shown{u"plainBox"_s, text, title, kind, buttons, take(buttons)};
    return m_shown.last().answer;
}

void ScriptedMessages::errorReport(const QString &text)
{
    m_shown << Shown{u"errorReport"_s, text, u"Tavimor"_s, Kind::Error, Buttons::Ok, take(Buttons::Ok)};
}

QStringList ScriptedMessages::texts() const
{
    QStringList l;
    for (const Shown &s : m_shown)
        l << s.text;
    return l;
}

} // namespace tavimor
