// Tests for non-finite floats and the system beep.
#pragma once

// True for a NaN or an infinity.
bool zor_isnan(float x);
// True when the value is not finite in single precision: a NaN, an infinity,
// or a finite double that narrows to an infinity (1e300, say).
bool zor_isnanD(double x);
void MacBeep();
