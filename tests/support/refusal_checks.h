#pragma once
// A refusal checked as the user meets it: refused as bad input, with a message naming the fault.

#include "common/result.h"

#include <gtest/gtest.h>

#include <QString>

namespace qeltaro::test {

// EXPECT_TRUE(refusedWith(result, fragment)): `result` is a refusal of bad input whose message
// holds `fragment`; otherwise the failure says which of the three it is not.
template <typename T>
::testing::AssertionResult refusedWith(const Result<T>& result, const QString& fragment)
{
    if (result)
        return ::testing::AssertionFailure() << "not refused";
    const std::string message = result.error().message.toStdString();
    if (result.error().kind != ErrorKind::BadInput)
        return ::testing::AssertionFailure() << "refused, but not as bad input: " << message;
    if (!result.error().message.contains(fragment))
        return ::testing::AssertionFailure() << "the message \"" << message << "\" does not hold \""
                                             << fragment.toStdString() << "\"";
    return ::testing::AssertionSuccess();
}

}  // namespace qeltaro::test
