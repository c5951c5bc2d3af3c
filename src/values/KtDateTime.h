#pragma once

#include <QByteArray>
#include <QString>

// DateAndTime value. The year is held in host order; raw() gives the
// 11-octet network form.
class KtDateTime
{
public:
    KtDateTime() = default;
    explicit KtDateTime(const QString &text);
    static KtDateTime fromRaw(const QByteArray &raw); // 11 octets; missing ones read as 0, direction "+"

    QString toString() const;
    QByteArray raw() const;

    quint16 year = 0;
    quint8 month = 0;
    quint8 day = 0;
    quint8 hour = 0;
    quint8 minutes = 0;
    quint8 seconds = 0;
    quint8 deciSeconds = 0;
    char direction = '+';
    quint8 zoneHours = 0;
    quint8 zoneMinutes = 0;
};
