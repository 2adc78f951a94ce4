#include "util/Exceptions.h"

Exception::Exception(const QString& message)
    : message(message)
    , utf8(message.toUtf8())
{
}

bool IsNotANumber(const std::exception& error)
{
    const auto* convertError = dynamic_cast<const EConvertError*>(&error);
    return convertError != nullptr && convertError->Message() == NotANumberMessage;
}
