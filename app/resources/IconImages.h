#pragma once

// The icons as XPM text.
extern const char* const kAppIcon48[];
extern const char* const kAppIcon32[];
extern const char* const kAppIcon16[];
extern const char* const kDocIcon32[];
extern const char* const kDocIcon16[];
