#pragma once

#include "base/Result.h"

#include <QTest>

// The failure's message, "" for a success: what a failed check prints.
template <typename T> QString failureText(const Result<T> &result)
{
    return result ? QString() : result.error().message;
}

// Fails the test with the operation's own message when it does not succeed.
#define QVERIFY_OK(expression)                                                                     \
    do {                                                                                           \
        const auto outcome_ = (expression);                                                        \
        QVERIFY2(outcome_.ok(), qPrintable(failureText(outcome_)));                                \
    } while (false)
