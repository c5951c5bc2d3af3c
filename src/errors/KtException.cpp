#include "errors/KtException.h"
#include "errors/KtCatalogue.h"

KtException::KtException(int code, const QString &message)
    : m_code(code), m_message(message), m_what(message.toStdString())
{
}

void KtThrowEngine(int n)
{
    throw KtException(-500 - n, KtCatalogue::Text(KtCatalogue::Engine, n));
}
