// Resource ids of the test pictures, shared by testBitmaps.rc and the tests.
// makeTestBitmaps.py writes the pictures.
#pragma once

#define PATTERN_BITMAP 201
#define TWO_IMAGES_BITMAP 202
#define BLANK_BITMAP 203
// No resource has this id.
#define MISSING_BITMAP 299
