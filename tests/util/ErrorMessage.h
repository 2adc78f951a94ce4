#pragma once

#include "util/Exceptions.h"

#include <QString>

#include <typeinfo>

// The message of the exception that call raises, provided it is exactly of
// type E; otherwise a description of what happened instead, so that a
// comparison with the expected message fails with a readable difference.
template <typename E, typename Call>
QString ErrorMessage(Call call)
{
    try {
        call();
    } catch (const Exception& error) {
        if (typeid(error) != typeid(E))
            return QStringLiteral("<other exception type> ") + error.Message();
        return error.Message();
    }
    return QStringLiteral("<no exception>");
}
