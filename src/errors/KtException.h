#pragma once

#include <QString>
#include <exception>
#include <string>

// The one failure type of the SNMP, value and binding layers: a catalogue
// text and a signed code (0 ok, -100-s PDU status, -2xx v3 MP, -3xx USM,
// -4xx session status, -5xx engine, -2 bad edit-constraint format).
class KtException : public std::exception
{
public:
    KtException(int code, const QString &message);

    int code() const noexcept { return m_code; }
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_what.c_str(); }

private:
    int m_code;
    QString m_message;
    std::string m_what;
};

// Raises engine error -500-n with engine catalogue entry n.
[[noreturn]] void KtThrowEngine(int n);
