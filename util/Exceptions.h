#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// The general exception of the system: it carries only a message meant for the
// user. Every other exception derives directly from it, and the job or event
// handler that catches it shows Message().
class Exception : public std::exception
{
public:
    explicit Exception(const QString& message);

    const QString& Message() const noexcept { return message; }
    const char* what() const noexcept override { return utf8.constData(); }

private:
    QString message;
    QByteArray utf8;
};

// A value could not be converted: bad digits, bad lengths, or the HART
// not-a-number pattern (message "Not a Number").
class EConvertError : public Exception
{
public:
    using Exception::Exception;
};

// The message that marks the HART not-a-number value in a received float.
inline const QString NotANumberMessage = QStringLiteral("Not a Number");

// True for exactly the conversion error that reports the HART not-a-number value.
bool IsNotANumber(const std::exception& error);

// Runs a step that decodes floats; true when the device reported
// not-a-number. Every other error passes.
template<typename Step>
bool ReportsNaN(Step step)
{
    try {
        step();
        return false;
    } catch (const EConvertError& error) {
        if (!IsNotANumber(error))
            throw;
        return true;
    }
}
