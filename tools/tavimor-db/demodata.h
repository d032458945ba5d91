#pragma once

#include "database.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace tavimor::demo {

// A small, fully deterministic generator (splitmix64) so that one seed gives the same data with
// every compiler and standard library.
class Random
{
public:
    explicit Random(quint64 seed) : m_state(seed) {}
    quint64 next()
    {
        quint64 z = (m_state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    // Uniform in [0, n) for 0 < n < 2^32.
    int below(int n) { return int(((next() >> 32) * quint64(n)) >> 32); }
    // Uniform in [lo, hi].
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool percent(int p) { return below(100) < p; }
    const QString &pick(const QStringList &list) { return list.at(below(int(list.size()))); }
    // Leans towards the front of the list (common surnames, common choices): half of the picks
    // come from its first eighth.
    const QString &pickCommon(const QStringList &list)
    {
        const int n = int(list.size());
        return list.at(percent(50) ? below(std::max(1, n / 8)) : below(n));
    }
    QString digits(int count);

private:
    quint64 m_state;
};

// The lookup lists the generated rows draw from, as the database holds them.
struct Lists {
    QStringList studentGrades, teacherGrades, majors, titles, provinces, subjects, targets, promoters, consultants;
};

// Generates realistic rows of the student and teacher registers and the own fields of teaching
// records. Rows are written in the tables' stored column order, each value already in the form
// the engine stores (dates as "yyyy-mm-dd" text on SQLite, as dates on PostgreSQL).
class Generator
{
public:
    Generator(quint64 seed, Lists lists, Engine engine);
    void setLists(Lists lists) { m_lists = std::move(lists); }

    void student(qint64 number, QVariant *row);
    void teacher(qint64 number, QVariant *row);
    // Subject, lesson times, first lesson day and lesson count of one teaching record.
    void lesson(QVariant *row);
    // Names for the promoter and consultant lists.
    QString personName();

    Random &random() { return m_random; }

private:
    QString givenName(bool male);
    QString fullName(bool male) { return m_random.pickCommon(surnames()) + givenName(male); }
    QString landline();
    QString mobile();
    QString address();
    QString subjects(int most);
    QString lines(const QStringList &pool, int most, const QString &separator);
    QDate day(const QDate &from, const QDate &to);
    QVariant date(const QDate &d) const;
    static const QStringList &surnames();

    Random m_random;
    Lists m_lists;
    Engine m_engine;
    QStringList m_schools[4]; // kindergarten, primary, middle, high
    QStringList m_slots;
    QStringList m_employers;
    QList<int> m_studentMap, m_teacherMap;
    qsizetype m_studentColumns, m_teacherColumns;
};

} // namespace tavimor::demo
