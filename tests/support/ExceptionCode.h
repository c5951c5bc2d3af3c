#pragma once

#include "errors/KtException.h"

#include <QString>

#include <functional>

// Code (and message) of the KtException that f raises; 0 when it raises none.
inline int codeOf(const std::function<void()> &f, QString *message = nullptr)
{
    try {
        f();
    } catch (const KtException &e) {
        if (message)
            *message = e.message();
        return e.code();
    }
    return 0;
}
