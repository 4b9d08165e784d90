// The bass editor's value-to-text converters for its three displays.
#pragma once

// "%d" of value x 100 truncated toward zero: 0.999 reads "99".
void ParamStringConvert(float value, char* text);
// "%2.0f" of 20 log10(1 - value): 0 reads " 0", 0.99 reads "-40".
void ParamStringConvertCompress(float value, char* text);
