// ParameterSink: the one operation a writer of parameter values needs, so
// that code which only sets parameters (a random patch) needs no effect.
#pragma once

#include <cstdint>

class ParameterSink {
public:
    // Any host thread; the host is not told.
    virtual void setParameter(int32_t index, float value) = 0;

protected:
    ~ParameterSink() = default;
};
