#pragma once

#include "util/Exceptions.h"

// The device did not answer in time.
class ETimeoutException : public Exception
{
public:
    using Exception::Exception;
};

// A malformed answer, or an identification answer that does not fit.
class EInconsistentException : public Exception
{
public:
    using Exception::Exception;
};
