#include "valueformat.h"

#include <QDate>

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

QString formatCurrency(const QVariant &amount)
{
    if (amount.isNull() || !amount.isValid())
        return {};
    bool ok = false;
    const double v = amount.toDouble(&ok);
    if (!ok)
        return amount.toString();
    const QString digits = QString::number(std::abs(v), 'f', 2);
    // No "-￥0.00" for a value that rounds to zero.
    return (v < 0 && digits != u"0.00"_s ? u"-￥"_s : u"￥"_s) + digits;
}

QVariant parseCurrency(const QString &text, bool *ok)
{
    QString t = text;
    t.remove(u'￥').remove(QChar(0x00A5)).remove(u',').remove(u'，');
    t = t.simplified().remove(u' ');
    if (ok)
        *ok = true;
    if (t.isEmpty() || t == u"-"_s || t == u"."_s || t == u"-."_s)
        return {};
    bool good = false;
    const double v = t.toDouble(&good);
    if (ok)
        *ok = good;
    return good ? QVariant(v) : QVariant();
}

QString formatDate(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return {};
    if (value.metaType().id() == QMetaType::QDate)
        return value.toDate().toString(u"yyyy-MM-dd"_s);
    if (value.metaType().id() == QMetaType::QDateTime)
        return value.toDateTime().date().toString(u"yyyy-MM-dd"_s);
    return value.toString();
}

QString displayText(ColumnKind kind, const QVariant &value)
{
    switch (kind) {
    case ColumnKind::Date:
        return formatDate(value);
    case ColumnKind::Currency:
        return formatCurrency(value);
    case ColumnKind::YesNo:
        return {};
    case ColumnKind::Memo: {
        QString s = value.toString().left(400);
        s.replace(u"\r\n"_s, u" "_s).replace(u'\n', u' ').replace(u'\r', u' ');
        return s;
    }
    default:
        return value.toString();
    }
}

} // namespace tavimor
