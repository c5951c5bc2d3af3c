#pragma once

#include <QList>
#include <QPointer>

class KtSNMPRequest2Controls;

// The set-up of a one-off write: for as long as the scope lives the
// binding works blocking and the descriptors excluded here stay out of the
// set; the mode and the descriptors are given back on every way out.
class KtWriteScope
{
public:
    explicit KtWriteScope(KtSNMPRequest2Controls *binding);
    ~KtWriteScope();

    KtWriteScope(const KtWriteScope &) = delete;
    KtWriteScope &operator=(const KtWriteScope &) = delete;

    // Marks descriptor i excluded unless it already was.
    void Exclude(int i);

private:
    QPointer<KtSNMPRequest2Controls> m_binding;
    bool m_asynchronous = false;
    QList<int> m_marked;
};
