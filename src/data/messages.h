#pragma once

#include <QList>
#include <QQueue>
#include <QString>

namespace tavimor {

// The seam through which every message, question and error report of the program goes.
// The Qt implementation lives with the windows; tests use ScriptedMessages.
class MessageService
{
public:
    enum class Kind { Information, Warning, Error, Stop };
    enum class Buttons { Ok, YesNo };
    // Return codes of the boxes.
    static constexpr int Ok = 1;
    static constexpr int Yes = 6;
    static constexpr int No = 7;

    virtual ~MessageService() = default;

    // Information box: the text, one OK button, no icon, titled with the application title.
    virtual void information(const QString &text) = 0;
    // Question box: warning, "&Yes"/"&No", titled "Warning". 6 only for Yes.
    int question(const QString &text) { return messageBox(text, Kind::Warning, Buttons::YesNo); }
    // Message box: kind warning ("Warning") or error ("Error"); returns 6, 7 or 1.
    virtual int messageBox(const QString &text, Kind kind, Buttons buttons) = 0;
    // The platform's plain box, with a title of the caller's choosing (e.g. "警告" with the stop icon).
    virtual int plainBox(const QString &text, const QString &title, Kind kind, Buttons buttons) = 0;
    // The platform's default error report: plain error box titled with the application title.
    virtual void errorReport(const QString &text) = 0;
};

// Records every box and answers from a queue; an empty queue answers No (or OK).
class ScriptedMessages : public MessageService
{
public:
    struct Shown {
        QString method; // "information", "messageBox", "plainBox", "errorReport"
        QString text;
        QString title;
        Kind kind = Kind::Information;
        Buttons buttons = Buttons::Ok;
        int answer = Ok;
    };

    void information(const QString &text) override;
    int messageBox(const QString &text, Kind kind, Buttons buttons) override;
    int plainBox(const QString &text, const QString &title, Kind kind, Buttons buttons) override;
    void errorReport(const QString &text) override;

    void answer(int code) { m_answers.enqueue(code); }
    void answerYes() { answer(Yes); }
    void answerNo() { answer(No); }
    const QList<Shown> &shown() const { return m_shown; }
    QStringList texts() const;
    QString lastText() const { return m_shown.isEmpty() ? QString() : m_shown.last().text; }
    void clear()
    {
        m_shown.clear();
        m_answers.clear();
    }
    int pendingAnswers() const { return int(m_answers.size()); }

private:
    int take(Buttons buttons);
    QList<Shown> m_shown;
    QQueue<int> m_answers;
};

} // namespace tavimor
