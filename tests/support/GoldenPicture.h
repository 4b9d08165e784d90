// The golden-picture check: a picture against the PNG committed under
// tests/golden, every pixel. A mismatch leaves the picture it got and a
// difference image (red = differs, the rest dimmed) in golden-out beside the
// test's build folder.
//
// After a deliberate change of the look: WOBRIX_UPDATE_GOLDEN=1 rewrites
// the committed pictures; look at them before committing.
#pragma once

#include <string>

#include "Picture.h"

// Adds a test failure unless `actual` matches tests/golden/<name>.png. Under
// WOBRIX_UPDATE_GOLDEN it rewrites that file instead and answers true.
bool expectGolden(const Picture& actual, const std::string& name);

// tests/golden/<name>.png as it is committed.
Picture goldenPicture(const std::string& name);
