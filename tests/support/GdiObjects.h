// The number of GDI objects this process owns now, for leak tests: the same
// count before and after a piece of work means it deleted all it made. Take
// the first count after the work has run once, since the platform makes some
// objects of its own on first use (stock bitmap, first device context).
#pragma once

#include <cstdint>

std::int64_t liveGdiObjects();
